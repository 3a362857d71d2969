#pragma once

#include "clock/ManualTimer.h"
#include "clock/VirtualClock.h"
#include "engine/EngineHarness.h"
#include "engine/SongBuilder.h"
#include "fixtures/MemoryMidiOutput.h"
#include "fixtures/ReportRecorder.h"
#include "fixtures/TestPaths.h"
#include "midi/CLSMIDIData.h"
#include "player/CLSPlaybackFlow.h"
#include "playlist/CLSPlayList.h"
#include "settings/CLSDRUVSettings.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

struct FakeSeekBar final : SeekBarView {
    void SetRange(int, int maximum) override { rangeMax = maximum; }
    void SetPos(int position) override { pos.store(position); }
    int GetPos() const override { return pos.load(); }
    std::atomic<int> pos{0};
    int rangeMax = 0;
};

struct FakeTimeLabel final : TimeLabelView {
    void SetSeconds(unsigned s) override { seconds.store(s); }
    std::atomic<unsigned> seconds{0};
};

struct FakeSlider final : SliderView {
    int GetValue() const override { return value; }
    void SetValue(int v) override { value = v; }
    int value = 0;
};

struct FakeLabel final : TextLabelView {
    void SetText(const std::string& t) override { text = t; }
    std::string text;
};

struct FakeLyrics final : LyricsView {
    void SetTimedWipe(bool on) override { wipe = on; }
    void Start() override { ++starts; }
    void Stop() override {}
    bool wipe = false;
    int starts = 0;
};

struct FakeMarquee final : MarqueeView {
    void SetTexts(const std::vector<std::string>& l) override {
        lines = l;
        ++calls;
    }
    std::vector<std::string> lines;
    int calls = 0;
};

// Falls only when told to, and then until the test ends the fall.
struct FakeSpectrum final : SpectrumView {
    void SetRows(const MIDITRACKINFOARRAY&) override { ++rowsGiven; }
    void Start() override { running = true; }
    bool Stop(bool atOnce) override {
        falling = running && falls && !atOnce;
        running = false;
        return falling;
    }
    void SetFallen(std::function<void()> f) override { fallen = std::move(f); }
    void SetMeterWidth(int) override {}
    void SetColors(const std::array<std::uint32_t, 5>&) override {}
    void SetDigital(bool) override {}
    void EndFall() {
        ASSERT_TRUE(falling);
        falling = false;
        fallen();
    }
    bool falls = false;
    bool running = false;
    bool falling = false;
    int rowsGiven = 0;
    std::function<void()> fallen;
};

// The flow over the real engine on a virtual clock, a timer the test fires and an in-memory
// output; songs are real files of `ms` length titled "SongN".
class FlowHarness : public ::testing::Test {
protected:
    using ms = std::chrono::milliseconds;

    void SetUp() override {
        CLSMIDIData::PlaybackSetup setup;
        setup.clock = &clock;
        setup.timer = &timer;
        setup.closeWait = ms(0);
        setup.openOutput = [this](int, std::unique_ptr<MidiOutput>& out) {
            if (refuseOutput)
                return static_cast<int>(MIDIOUT_BADDEVICEID);
            out = std::make_unique<ForwardingOutput>(output);
            return static_cast<int>(MIDIOUT_OK);
        };
        engine.SetPlaybackSetup(std::move(setup));
        // Stamped as the window stamps a notice when it is posted.
        engine.SetOwner(nullptr, [this](int kind, unsigned) {
            pending.push_back({kind, flow->PlayStamp()});
        });
        settings.MidiDeviceID = 0;
        views.seekBar = &seekBar;
        views.timeLabel = &timeLabel;
        views.tempoSlider = &tempo;
        views.volumeSlider = &volume;
        views.keySlider = &key;
        views.tempoLabel = &tempoLabel;
        views.volumeLabel = &volumeLabel;
        views.keyLabel = &keyLabel;
        views.lyrics = &lyrics;
        views.marquee = &marquee;
        views.spectrum = &spectrum;
        flow = std::make_unique<CLSPlaybackFlow>(engine, playlist, settings, views);
        flow->SetPositionPeriod(ms(1));
    }

    void TearDown() override { flow.reset(); }

    std::string WriteSong(int n, unsigned lengthMs = 2000) {
        SongBuilder song;
        song.Meta(0, 0x03, "Song" + std::to_string(n));
        // 120 beats per minute: 960 ticks a second.
        const std::uint32_t end = lengthMs * 960 / 1000;
        for (std::uint32_t t = 0; t + 240 <= end; t += 240)
            song.NoteOn(t, 0, 60 + n, 100).NoteOff(t + 240, 0, 60 + n);
        const std::string path = dir.File("song" + std::to_string(n) + ".mid");
        const std::vector<std::uint8_t> bytes = song.Bytes();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return path;
    }

    // Three songs added as the user would; the first is loaded, nothing plays.
    void AddSongs(int count = 3, unsigned lengthMs = 2000) {
        for (int n = 0; n < count; ++n)
            flow->AddPath(CLSTString(WriteSong(n, lengthMs).c_str()));
    }

    // Time passes one timer period at a time; notifications reach the flow as posted events.
    void Run(ms duration) {
        for (ms passed(0); passed < duration; passed += ms(CLSMIDIData::kTimerPeriodMs)) {
            clock.Advance(ms(CLSMIDIData::kTimerPeriodMs));
            timer.Fire();
            Deliver();
        }
    }

    void Deliver() {
        std::vector<std::pair<int, unsigned>> notices;
        notices.swap(pending);
        for (const auto& [kind, play] : notices)
            flow->OnEngineNotify(kind, play);
    }

    // The position thread publishes on its own schedule; wait (bounded) until it caught up.
    bool SeekBarReaches(int position) {
        for (int i = 0; i < 2000 && seekBar.GetPos() != position; ++i)
            std::this_thread::sleep_for(ms(1));
        return seekBar.GetPos() == position;
    }

    std::string LoadedTitle() const { return engine.GetTitle().Text(); }

    std::vector<std::string> ErrorTexts() const {
        std::vector<std::string> texts;
        for (const CLSError::Report& report : reports.Reports())
            texts.push_back(report.text);
        return texts;
    }

    TempDir dir;
    ReportRecorder reports;
    VirtualClock clock;
    ManualTimer timer;
    MemoryMidiOutput output{clock};
    bool refuseOutput = false;
    std::vector<std::pair<int, unsigned>> pending; // kind, play stamp
    CLSMIDIData engine;
    CLSPlayList playlist;
    CLSDRUVSettings settings;
    FakeSeekBar seekBar;
    FakeTimeLabel timeLabel;
    FakeSlider tempo, volume, key;
    FakeLabel tempoLabel, volumeLabel, keyLabel;
    FakeLyrics lyrics;
    FakeMarquee marquee;
    FakeSpectrum spectrum;
    PlaybackViews views;
    std::unique_ptr<CLSPlaybackFlow> flow;
};
