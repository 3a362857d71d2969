#include "midi/CLSKaraokeTexts.h"

#include <algorithm>
#include <cctype>

namespace {

using Break = CLSKaraokeTexts::Break;

bool IsHeader(const std::string& text) {
    return text.size() >= 2 && text[0] == '@' && std::isupper(static_cast<unsigned char>(text[1]));
}

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

Break Stronger(Break a, Break b) {
    return static_cast<int>(a) > static_cast<int>(b) ? a : b;
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") + 1 - first);
}

} // namespace

void CLSKaraokeTexts::AddText(std::uint16_t track, std::uint64_t tick, const char* text,
                              bool trackName) {
    const std::string t(text);
    if (IsHeader(t)) {
        ReadHeader(t);
        // A track name alone names the song but does not make its texts lyrics.
        m_sawKaraokeHeader = m_sawKaraokeHeader || (!trackName && t[1] != 'I' && t[1] != 'V');
        if (m_lastHeader.size() <= track)
            m_lastHeader.resize(track + 1u, 0);
        if (!trackName)
            m_lastHeader[track] = m_texts.size();
        return;
    }
    if (!trackName)
        m_texts.push_back({track, tick, t});
}

void CLSKaraokeTexts::AddLyric(std::uint64_t tick, const char* text) {
    m_lyrics.push_back({0, tick, text});
}

void CLSKaraokeTexts::ReadHeader(const std::string& text) {
    const std::string value = Trimmed(text.substr(2));
    switch (text[1]) {
    case 'L':
        m_language = value;
        break;
    case 'T':
        // Files repeat the title line in the track name: it counts once.
        if (!value.empty() &&
            std::find(m_titleLines.begin(), m_titleLines.end(), value) == m_titleLines.end())
            m_titleLines.push_back(value);
        break;
    case 'I':
        if (!value.empty())
            m_information.push_back(value);
        break;
    default: // "@V" version and headers nobody shows
        break;
    }
}

// Soft-karaoke words win over lyric events: a file carrying both was made for soft-karaoke
// players, and its lyric events are then usually a copy without the page markers.
void CLSKaraokeTexts::Finish() {
    m_syllables.clear();
    if (m_sawKaraokeHeader)
        TakeSoftKaraokeWords();
    if (m_syllables.empty())
        TakeLyricEvents();
    if (m_syllables.empty()) {
        m_source = Source::kNone;
        return;
    }
    m_syllables.front().breakBefore = Break::kNone;
    m_unmarked = std::none_of(m_syllables.begin(), m_syllables.end(),
                              [](const Syllable& s) { return s.breakBefore != Break::kNone; });
}

// The words track is the one with the most texts after its headers: the texts in front of
// the last header (copyright lines, tool notes) are not sung.
std::uint16_t CLSKaraokeTexts::WordsTrack() const {
    std::vector<std::size_t> counts;
    for (std::size_t i = 0; i < m_texts.size(); ++i) {
        const std::uint16_t track = m_texts[i].track;
        if (track < m_lastHeader.size() && i < m_lastHeader[track])
            continue;
        if (counts.size() <= track)
            counts.resize(track + 1u, 0);
        ++counts[track];
    }
    const auto best = std::max_element(counts.begin(), counts.end());
    return best == counts.end() ? 0 : static_cast<std::uint16_t>(best - counts.begin());
}

void CLSKaraokeTexts::TakeSoftKaraokeWords() {
    const std::uint16_t track = WordsTrack();
    const std::size_t first = track < m_lastHeader.size() ? m_lastHeader[track] : 0;
    Break pending = Break::kNone;
    for (std::size_t i = first; i < m_texts.size(); ++i) {
        const Text& t = m_texts[i];
        if (t.track != track)
            continue;
        std::string text = t.text;
        Break b = pending;
        if (!text.empty() && (text[0] == '\\' || text[0] == '/')) {
            b = Stronger(b, text[0] == '\\' ? Break::kPage : Break::kLine);
            text.erase(0, 1);
        }
        if (text.empty()) {
            pending = b; // a marker on its own breaks before the next syllable
            continue;
        }
        m_syllables.push_back({t.tick, text, b});
        pending = Break::kNone;
    }
    if (!m_syllables.empty())
        m_source = Source::kSoftKaraoke;
}

// Lyric events end lines with CR or LF (an empty line starting a new page) or, in songs
// without them, start lines with "/" and pages with "\". Songs that use CR or LF keep "/" and
// "\" as text: chord charts use "/" for a beat.
void CLSKaraokeTexts::TakeLyricEvents() {
    const auto hasLineEnd = [](const Text& t) {
        return std::any_of(t.text.begin(), t.text.end(), IsLineEnd);
    };
    const auto hasSlash = [](const Text& t) {
        return !t.text.empty() && (t.text[0] == '/' || t.text[0] == '\\');
    };
    const bool lineEnds = std::any_of(m_lyrics.begin(), m_lyrics.end(), hasLineEnd);
    const bool slashes = !lineEnds && std::any_of(m_lyrics.begin(), m_lyrics.end(), hasSlash);

    int pendingEnds = 0;
    Break pending = Break::kNone;
    for (const Text& t : m_lyrics) {
        std::string text = t.text;
        Break b = pending;
        if (lineEnds) {
            std::size_t lead = 0;
            while (lead < text.size() && IsLineEnd(text[lead])) {
                // CR LF is one line end
                if (!(text[lead] == '\n' && lead > 0 && text[lead - 1] == '\r'))
                    ++pendingEnds;
                ++lead;
            }
            text.erase(0, lead);
            if (!text.empty()) {
                if (pendingEnds > 0)
                    b = Stronger(b, pendingEnds > 1 ? Break::kPage : Break::kLine);
                pendingEnds = 0;
            }
            std::size_t trail = text.size();
            while (trail > 0 && IsLineEnd(text[trail - 1]))
                --trail;
            if (trail < text.size()) {
                ++pendingEnds;
                text.erase(trail);
                for (char& c : text)
                    c = IsLineEnd(c) ? ' ' : c;
            }
        } else if (slashes && hasSlash(t)) {
            b = Stronger(b, text[0] == '\\' ? Break::kPage : Break::kLine);
            text.erase(0, 1);
        }
        if (text.empty()) {
            pending = b;
            continue;
        }
        m_syllables.push_back({t.tick, text, b});
        pending = Break::kNone;
    }
    if (!m_syllables.empty())
        m_source = Source::kLyricEvents;
}

std::string CLSKaraokeTexts::AllTexts() const {
    std::string all;
    for (const std::string& line : m_titleLines)
        all += line + "\n";
    for (const std::string& line : m_information)
        all += line + "\n";
    for (const Syllable& s : m_syllables)
        all += s.text;
    return all;
}
