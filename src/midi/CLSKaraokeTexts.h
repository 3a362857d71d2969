#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The lyric texts of a song that is not an XF song, gathered while it loads: soft-karaoke
// words (text events with "@" header lines) or lyric events. Decides which of them the song
// is sung from and turns them into syllables with their line and page breaks.
class CLSKaraokeTexts {
public:
    enum class Source { kNone, kSoftKaraoke, kLyricEvents };
    enum class Break { kNone, kLine, kPage };

    struct Syllable {
        std::uint64_t tick = 0; // from the start of the song
        std::string text;       // markers removed
        Break breakBefore = Break::kNone;
    };

    // Text (0x01) and track-name (0x03) events, and lyric events (0x05), in load order.
    void AddText(std::uint16_t track, std::uint64_t tick, const char* text, bool trackName);
    void AddLyric(std::uint64_t tick, const char* text);

    // Settles the source; call once after the last event.
    void Finish();
    Source GetSource() const noexcept { return m_source; }
    // True when the lyrics carry no line markers: lines are then made by width and pauses.
    bool Unmarked() const noexcept { return m_unmarked; }
    const std::vector<Syllable>& Syllables() const noexcept { return m_syllables; }

    // Soft-karaoke headers: "@T" lines (title, then performer, then more information), "@I"
    // lines and the "@L" language.
    const std::vector<std::string>& TitleLines() const noexcept { return m_titleLines; }
    const std::vector<std::string>& InformationLines() const noexcept { return m_information; }
    const std::string& Language() const noexcept { return m_language; }

    // All texts the song's lyrics are read from, for encoding detection.
    std::string AllTexts() const;

private:
    struct Text {
        std::uint16_t track;
        std::uint64_t tick;
        std::string text;
    };

    void ReadHeader(const std::string& text);
    void TakeSoftKaraokeWords();
    void TakeLyricEvents();
    std::uint16_t WordsTrack() const;

    std::vector<Text> m_texts;
    std::vector<Text> m_lyrics;
    std::vector<std::size_t> m_lastHeader; // per track: index after its last header text
    bool m_sawKaraokeHeader = false;
    Source m_source = Source::kNone;
    bool m_unmarked = false;
    std::vector<Syllable> m_syllables;
    std::vector<std::string> m_titleLines;
    std::vector<std::string> m_information;
    std::string m_language;
};
