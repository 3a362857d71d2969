#pragma once

#include "midi/MIDITRACKINFO.h"

#include <cstddef>
#include <vector>

// The meters' movement, one tick at a time, for the spectrum's drawing thread. Silent rows
// decay in the engine's rows as they always did; the shown levels follow what the rows said
// `delayTicks` ticks ago, so a meter rises when its note is heard rather than when it is sent.
// After a stop the shown levels fall to 0 whatever the rows still hold.
class SpectrumMeters {
public:
    // Sized once per run of the thread: the ticks allocate nothing.
    void Reset(std::size_t rowCount, int delayTicks);

    // Returns true when every shown level is 0.
    bool Tick(MIDITRACKINFOARRAY& rows, bool stopping);

    std::size_t Count() const noexcept { return m_shown.size(); }
    int Shown(std::size_t row) const noexcept { return m_shown[row]; }
    // Whether the last tick moved the row's shown level.
    bool Moved(std::size_t row) const noexcept { return m_moved[row] != 0; }

private:
    int Heard(std::size_t row) const noexcept;

    std::vector<int> m_shown;
    std::vector<char> m_moved;
    std::vector<int> m_history; // (delay + 1) slots of one level per row
    std::size_t m_slots = 1;
    std::size_t m_head = 0;
};
