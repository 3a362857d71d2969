#pragma once

#include "midi/CLSMIDIWordInfo.h"

#include <cstdint>
#include <list>

// The page plan of an XF song: which syllables form a page, how its lines are numbered
// (bottom line 0) and wrapped at 40 columns, the page words the display lays out and the
// durations the wipe runs on.
class CLSWordPagePlan {
public:
    using WordList = std::list<CLSMIDIWordInfo>;
    using WordIt = WordList::iterator;

    static constexpr unsigned kWrapColumns = 40;
    static constexpr std::uint32_t kDefaultTempo = 500000;

    CLSWordPagePlan(WordList& words, int resolution) noexcept
        : m_words(words), m_resolution(resolution) {}

    void Build();

    // Ticks at `tempo` as ms, rounded to nearest.
    static int TicksToMs(std::uint32_t ticks, std::uint32_t tempo, int resolution) noexcept;

private:
    void LayOutPage(WordIt start, std::uint32_t tempo);
    WordIt CollectLine(WordIt start);
    WordIt WrapAt(WordIt split);
    int DurationToNext(WordIt w, std::uint32_t tempo) const noexcept;

    WordList& m_words;
    int m_resolution;
};
