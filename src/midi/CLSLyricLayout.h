#pragma once

#include "midi/CLSKaraokeTexts.h"
#include "midi/CLSMIDIWordInfo.h"

#include <cstdint>
#include <functional>
#include <list>
#include <string>
#include <vector>

// Pages for the lyrics of a song that is not an XF song: the syllables become the records an
// XF song's page plan yields (page words numbered from the bottom line, "<" on a page's first
// syllable, a line feed ending each line but the last, durations to the next record), so the
// display, the schedule and the player treat both alike.
class CLSLyricLayout {
public:
    using WordList = std::list<CLSMIDIWordInfo>;
    using Syllables = std::vector<CLSKaraokeTexts::Syllable>;
    // Display columns of a text.
    using Width = std::function<unsigned(const std::string&)>;

    static constexpr unsigned kWrapColumns = 40;
    static constexpr std::size_t kPageLines = 4;
    // Without line markers, a pause this long between two syllables ends a line (a page).
    static constexpr unsigned kLinePauseMs = 2000;
    static constexpr unsigned kPagePauseMs = 5000;

    CLSLyricLayout(WordList& words, int resolution, Width width)
        : m_words(words), m_resolution(resolution), m_width(std::move(width)) {}

    // Replaces the lyric records of the list (tempo and cue records stay) by the pages.
    void Build(const Syllables& syllables, bool unmarked);

private:
    using Line = std::vector<std::size_t>; // indexes into the syllables
    using Page = std::vector<Line>;
    struct Timed {
        std::uint64_t tick;
        CLSMIDIWordInfo record;
    };

    std::vector<Page> Paginate(const Syllables& syllables, bool unmarked) const;
    // The records that stay, on their ticks; makes the tempo map on the way.
    std::vector<Timed> KeptRecords();
    std::uint64_t Milliseconds(std::uint64_t tick) const;
    void Emit(const Syllables& syllables, const std::vector<Page>& pages,
              std::vector<Timed>& out) const;
    void SetDurations();

    WordList& m_words;
    int m_resolution;
    Width m_width;
    std::vector<std::pair<std::uint64_t, std::uint32_t>> m_tempoMap; // tick, tempo from there
};
