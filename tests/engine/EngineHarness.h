#pragma once

#include "clock/ManualTimer.h"
#include "clock/VirtualClock.h"
#include "core/MidiOutError.h"
#include "engine/SongBuilder.h"
#include "fixtures/ForwardingOutput.h"
#include "fixtures/MemoryMidiOutput.h"
#include "midi/CLSMIDIData.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

struct Notification {
    int kind;
    unsigned param;
    bool operator==(const Notification&) const = default;
};

// The engine on a virtual clock and a timer that ticks when the test says so.
class EngineHarness : public ::testing::Test {
protected:
    using ms = std::chrono::milliseconds;

    void SetUp() override {
        m_previousReporter = CLSError::SetReporter([this](const CLSError::Report& report) {
            std::lock_guard lock(m_mutex);
            errors.push_back(report.text);
        });
        CLSMIDIData::PlaybackSetup setup;
        setup.clock = &clock;
        setup.timer = &timer;
        setup.closeWait = ms(0);
        setup.openOutput = [this](int deviceId, std::unique_ptr<MidiOutput>& out) {
            lastDeviceId = deviceId;
            out = std::make_unique<ForwardingOutput>(output, outputLatency);
            return MIDIOUT_OK;
        };
        song.SetPlaybackSetup(std::move(setup));
        song.SetOwner(nullptr, [this](int kind, unsigned param) {
            std::lock_guard lock(m_mutex);
            notifications.push_back({kind, param});
        });
    }

    void TearDown() override {
        song.Stop();
        CLSError::SetReporter(m_previousReporter);
    }

    void Load(const SongBuilder& builder) {
        const std::vector<std::uint8_t> bytes = builder.Bytes();
        ASSERT_TRUE(song.LoadFromMemory(bytes.data(), bytes.size(), "test.mid"));
        std::lock_guard lock(m_mutex);
        notifications.clear();
    }

    MonoTime PlayAt(unsigned startMs) {
        const MonoTime start = clock.Now();
        EXPECT_TRUE(song.Play(startMs, -1));
        return start;
    }

    // Lets `duration` of real time pass, one timer period at a time.
    void Run(ms duration) {
        for (ms passed(0); passed < duration; passed += ms(CLSMIDIData::kTimerPeriodMs)) {
            clock.Advance(ms(CLSMIDIData::kTimerPeriodMs));
            timer.Fire();
        }
    }

    // The short messages sent so far, as their bytes.
    std::vector<std::vector<std::uint8_t>> Shorts() const {
        std::vector<std::vector<std::uint8_t>> out;
        for (const RecordedMidiMessage& m : output.Messages()) {
            if (m.kind == RecordedMidiMessage::Kind::Short)
                out.push_back(m.bytes);
        }
        return out;
    }

    std::vector<RecordedMidiMessage> Notes() const {
        std::vector<RecordedMidiMessage> out;
        for (const RecordedMidiMessage& m : output.Messages()) {
            if (m.kind == RecordedMidiMessage::Kind::Short && (m.bytes[0] & 0xE0) == 0x80)
                out.push_back(m);
        }
        return out;
    }

    std::vector<Notification> Notifications() {
        std::lock_guard lock(m_mutex);
        return notifications;
    }

    static std::int64_t Micros(MonoTime from, MonoTime to) {
        return std::chrono::duration_cast<std::chrono::microseconds>(to - from).count();
    }

    VirtualClock clock;
    ManualTimer timer;
    MemoryMidiOutput output{clock};
    CLSMIDIData song;
    int lastDeviceId = 99;
    std::chrono::microseconds outputLatency{0}; // what the next opened output reports
    std::vector<Notification> notifications;
    std::vector<std::string> errors;

private:
    std::mutex m_mutex;
    CLSError::Reporter m_previousReporter;
};
