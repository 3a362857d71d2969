#pragma once

#include "clock/Clock.h"
#include "midi/MIDITRACKINFO.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

// The meters' movement, one tick at a time, for the spectrum's drawing thread. Silent rows
// decay in the engine's rows as they always did; the shown levels follow what the rows said
// `delay` ago, so a meter rises when its note is heard rather than when it is sent. A rise
// counts from its note's due time, so the engine's tick sending it late moves it no later.
// After a stop the shown levels fall to 0 whatever the rows still hold.
class SpectrumMeters {
public:
    // Sized once per run of the thread: the ticks allocate nothing.
    void Reset(std::size_t rowCount, std::chrono::nanoseconds delay);

    // `now` on the engine's playback clock. Returns true when every shown level is 0.
    bool Tick(MIDITRACKINFOARRAY& rows, bool stopping, MonoTime now);

    // One tick of the fall after a stop, without the rows. Returns true when all are at 0.
    bool Fall() noexcept;

    std::size_t Count() const noexcept { return m_shown.size(); }
    int Shown(std::size_t row) const noexcept { return m_shown[row]; }
    // Whether the last tick moved the row's shown level.
    bool Moved(std::size_t row) const noexcept { return m_moved[row] != 0; }

private:
    struct Sample {
        std::int64_t time; // ns: when the level was sampled, or its note's due time
        int level;
    };
    int Heard(std::size_t row, std::int64_t at) const noexcept;
    std::int64_t SampleTime(const MIDITRACKINFO& row, std::size_t j, std::int64_t now) noexcept;

    std::vector<int> m_shown;
    std::vector<char> m_moved;
    std::vector<std::int64_t> m_lastDue;
    std::vector<Sample> m_history; // m_slots samples per row, a ring shared by all rows
    std::int64_t m_delay = 0;
    std::size_t m_slots = 1;
    std::size_t m_head = 0;
};
