#pragma once

#include "platform/MidiOutput.h"

#include <mutex>
#include <vector>

// One message as a MemoryMidiOutput received it.
struct RecordedMidiMessage {
    enum class Kind { Short, Long, Reset };
    Kind kind = Kind::Short;
    std::vector<std::uint8_t> bytes; // the message's own bytes (1..3 for a short message)
    MonoTime sent{};
    MonoTime due{};
};

// Keeps every message in memory, for tests of the code that drives an output. It can be told
// to refuse opening, to stand for a device that is missing or busy.
class MemoryMidiOutput final : public MidiOutput {
public:
    explicit MemoryMidiOutput(const Clock& clock) : m_clock(clock) {}

    int Open() override;
    int Reset() override;
    int ShortMsg(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                 MonoTime due) override;
    int LongMsg(const std::uint8_t* bytes, std::size_t length, MonoTime due) override;
    int SetVolume(std::uint32_t volume) override;
    int GetVolume(std::uint32_t& volume) override;
    int Close() override;

    void FailOpenWith(int code) { m_openResult = code; }

    // Copies, so a test may read while another thread sends.
    std::vector<RecordedMidiMessage> Messages() const;
    void ClearMessages();
    bool IsOpen() const;
    int OpenCount() const;
    int CloseCount() const;
    std::uint32_t Volume() const;

private:
    int Record(RecordedMidiMessage::Kind kind, const std::uint8_t* bytes, std::size_t length,
               MonoTime due);

    const Clock& m_clock;
    mutable std::mutex m_mutex;
    std::vector<RecordedMidiMessage> m_messages;
    int m_openResult = 0;
    bool m_open = false;
    int m_opens = 0;
    int m_closes = 0;
    std::uint32_t m_volume = kFullVolume;
};
