#pragma once

#include "clock/Clock.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

// One open-able MIDI output (the embedded synthesizer, an ALSA port, a capture file, ...).
// Every operation returns a MidiOutResult code (MidiOutError.h).
//
// Each message carries the monotonic time it was due. Outputs that can schedule (the
// synthesizer, ALSA) deliver it at due + kMidiOutLatency, so the tick's lateness of up to one
// period turns into a constant delay instead of jitter. Due times are kept in sending order:
// a message due before the previous one is delivered right after it, never before.
//
// ShortMsg, LongMsg and Reset come from one thread at a time (the tick while the timer runs,
// the main thread around it); SetVolume and GetVolume from any thread; Open and Close only
// while no other call is running.
class MidiOutput {
public:
    // One timer period: the tick sends an event at most about this long after it was due.
    static constexpr std::chrono::milliseconds kLatency{15};

    // Volume as packed by the device volume call: left in the low 16 bits, right in the high.
    static constexpr std::uint32_t kFullVolume = 0xFFFFFFFFu;

    // An instrument a song selects: the bank (controller 0) in force at its program change, and
    // whether that came on the drum channel.
    struct Program {
        std::uint8_t bank = 0;
        std::uint8_t number = 0;
        bool drums = false;
        auto operator<=>(const Program&) const = default;
    };

    MidiOutput() = default;
    virtual ~MidiOutput() = default;
    MidiOutput(const MidiOutput&) = delete;
    MidiOutput& operator=(const MidiOutput&) = delete;

    // Before Open: the instruments the song selects, for an output that loads instruments only
    // when used to have them ready before the first note rather than load them while playing.
    virtual void PrepareSounds(const std::vector<Program>& programs) { (void)programs; }
    virtual int Open() = 0;
    // Turns off every sounding note, in sending order after the messages already handed over.
    virtual int Reset() = 0;
    virtual int ShortMsg(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                         MonoTime due) = 0;
    // A system exclusive message, F0 ... F7 included.
    virtual int LongMsg(const std::uint8_t* bytes, std::size_t length, MonoTime due) = 0;
    virtual int SetVolume(std::uint32_t volume) = 0;
    virtual int GetVolume(std::uint32_t& volume) = 0;
    virtual int Close() = 0;
    // The sender has handed over all that is due for now (the end of a tick): an output that
    // gathers messages hands them on.
    virtual void Flush() noexcept {}

    // How long after its due time an open output's message is heard (or reaches the port).
    // Displays wait as long, so what is seen follows what is heard.
    virtual std::chrono::microseconds SoundLatency() const noexcept {
        return std::chrono::microseconds(0);
    }
};
