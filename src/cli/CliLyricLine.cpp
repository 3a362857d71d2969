#include "cli/CliLyricLine.h"

#include "core/CLSTString.h"
#include "core/DisplayText.h"

void CliLyricLine::Feed(const CLSMIDIWordInfo& word) {
    if (!m_pageLayout) {
        FeedPlain(word);
        return;
    }
    switch (word.kind) {
    case CLSMIDIWordInfo::kPageWord:
        FeedPageWord(word);
        break;
    case CLSMIDIWordInfo::kSyllable:
        if (m_sung < m_words.size())
            ++m_sung;
        break;
    case CLSMIDIWordInfo::kCuePoint:
        NewPage();
        break;
    default:
        break;
    }
    m_lastWasPageWord = word.kind == CLSMIDIWordInfo::kPageWord;
}

void CliLyricLine::FeedPageWord(const CLSMIDIWordInfo& word) {
    if (!m_lastWasPageWord)
        NewPage();
    m_words.push_back({LyricDisplayText(word.text.Text(), word.text.Length()), word.line});
}

void CliLyricLine::FeedPlain(const CLSMIDIWordInfo& word) {
    if (word.kind != CLSMIDIWordInfo::kPageWord)
        return;
    const char* text = word.text.Text();
    int length = word.text.Length();
    bool lineBreak = false;
    while (length > 0 && (*text == '/' || *text == '\\' || *text == '\r' || *text == '\n')) {
        lineBreak = true;
        ++text;
        --length;
    }
    std::size_t used = 0;
    for (const Word& w : m_words)
        used += w.text.size();
    if (lineBreak || used >= kPlainLineBytes)
        NewPage();
    m_words.push_back({LyricDisplayText(text, length), 0});
    m_sung = m_words.size();
}

void CliLyricLine::NewPage() {
    m_words.clear();
    m_sung = 0;
    ++m_pages;
}

std::size_t CliLyricLine::CurrentWord() const noexcept {
    return m_sung > 0 ? m_sung - 1 : 0;
}

unsigned CliLyricLine::LineId() const noexcept {
    const int line = m_words.empty() ? 0 : m_words[CurrentWord()].line;
    return m_pages * 64 + static_cast<unsigned>(line & 63);
}

std::string CliLyricLine::Join(std::size_t from, std::size_t to) const {
    std::string out;
    if (m_words.empty())
        return out;
    const int line = m_words[CurrentWord()].line;
    for (std::size_t i = from; i < to && i < m_words.size(); ++i) {
        if (m_words[i].line == line)
            out += m_words[i].text;
    }
    return out;
}

std::string LyricDisplayText(const char* bytes, int length) {
    std::string kept;
    int brackets = 0; // 1 inside a base, 2 inside its reading
    for (int i = 0; i < length; ++i) {
        const char c = bytes[i];
        if (CLSTString::IsDoubleByteChar(bytes + i) && i + 1 < length) {
            if (brackets < 2)
                kept.append(bytes + i, 2);
            ++i;
            continue;
        }
        if (c == '[') {
            brackets = brackets == 0 ? 1 : 2;
        } else if (c == ']') {
            brackets = 0;
        } else if (brackets < 2 && c != '<') {
            kept += (c == '\t' || c == '\n' || c == '\r') ? ' ' : c;
        }
    }
    return DisplayText(kept.c_str(), kept.size());
}
