#pragma once

#include "midi/CLSMIDIWordInfo.h"

#include <string>
#include <vector>

// The lyric line a terminal shows while a song plays, built from the records the engine hands
// out as they become due: the part already sung and the rest of the line, as UTF-8.
// Karaoke songs with a page layout show the line being sung; other songs collect their lyric
// events into a line until a line break ("/" or "\" in front of a syllable) or a full line.
class CliLyricLine {
public:
    // `encoding`: the song's text encoding (see DisplayText).
    explicit CliLyricLine(bool pageLayout, std::string encoding = {})
        : m_pageLayout(pageLayout), m_encoding(std::move(encoding)) {}

    void Feed(const CLSMIDIWordInfo& word);

    std::string Sung() const { return Join(0, m_page.sung); }
    std::string Rest() const { return Join(m_page.sung, m_page.words.size()); }
    // Changes whenever another line takes the place of the current one.
    unsigned LineId() const noexcept;

    static constexpr std::size_t kPlainLineBytes = 60;

private:
    struct Word {
        std::string text; // UTF-8, mark-up removed
        int line;
    };
    struct Page {
        std::vector<Word> words;
        std::size_t sung = 0;
        bool Finished() const noexcept { return sung >= words.size(); }
    };

    void FeedPageWord(const CLSMIDIWordInfo& word);
    void FeedSyllable();
    void FeedPlain(const CLSMIDIWordInfo& word);
    void NewPage();
    // The texts of words [from, to) of the current page that stand on its current line.
    std::string Join(std::size_t from, std::size_t to) const;
    std::size_t CurrentWord() const noexcept;

    bool m_pageLayout;
    std::string m_encoding;
    Page m_page;
    // A page shown before the current one is sung to its end waits here.
    Page m_next;
    bool m_fillingNext = false;
    unsigned m_pages = 0;
    bool m_lastWasPageWord = false;
};

// Lyric text for a terminal: readings of "[base[reading]" groups and other mark-up removed,
// tabs and line breaks turned into spaces, the song's encoding turned into UTF-8.
std::string LyricDisplayText(const char* bytes, int length, const std::string& encoding = {});
