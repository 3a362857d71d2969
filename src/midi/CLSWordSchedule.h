#pragma once

#include "midi/CLSMIDIWordInfo.h"

#include <cstdint>
#include <list>

// The schedule of a laid-out song: pages shown early, finished lines cleared half a second
// into the next line, and the upper half of a page shown before its first syllable.
class CLSWordSchedule {
public:
    using WordList = std::list<CLSMIDIWordInfo>;
    using WordIt = WordList::iterator;

    static constexpr unsigned kEarlyMs = 2000;

    CLSWordSchedule(WordList& words, int resolution) noexcept
        : m_words(words), m_resolution(resolution) {}

    void Build();

    // The early showing time in ticks at `tempo`.
    std::uint32_t EarlyTicks(std::uint32_t tempo) const noexcept;

private:
    WordIt ShowPageEarly(WordIt r, WordIt j, std::uint32_t early);
    void InsertClearLine(WordIt r, int line, std::uint32_t early);
    WordIt ShowUpperHalfEarly(WordIt r, std::uint32_t early);

    WordList& m_words;
    int m_resolution;
};
