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
        FeedSyllable();
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
    // Pages are shown ahead of their singing, the upper lines first: words that come while
    // the current page is still being sung belong to the next page, which waits for it.
    if (!m_lastWasPageWord && !m_fillingNext) {
        m_fillingNext = !m_page.words.empty() && !m_page.Finished();
        if (!m_fillingNext)
            NewPage();
    }
    Page& page = m_fillingNext ? m_next : m_page;
    page.words.push_back(
        {LyricDisplayText(word.text.Text(), word.text.Length(), m_encoding), word.line});
}

void CliLyricLine::FeedSyllable() {
    if (m_page.Finished() && m_fillingNext) {
        m_page = std::move(m_next);
        m_next = Page();
        m_fillingNext = false;
        ++m_pages;
    }
    if (!m_page.Finished())
        ++m_page.sung;
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
    for (const Word& w : m_page.words)
        used += w.text.size();
    if (lineBreak || used >= kPlainLineBytes)
        NewPage();
    m_page.words.push_back({LyricDisplayText(text, length, m_encoding), 0});
    m_page.sung = m_page.words.size();
}

void CliLyricLine::NewPage() {
    m_page = Page();
    m_next = Page();
    m_fillingNext = false;
    ++m_pages;
}

std::size_t CliLyricLine::CurrentWord() const noexcept {
    return m_page.sung > 0 ? m_page.sung - 1 : 0;
}

unsigned CliLyricLine::LineId() const noexcept {
    const int line = m_page.words.empty() ? 0 : m_page.words[CurrentWord()].line;
    return m_pages * 64 + static_cast<unsigned>(line & 63);
}

std::string CliLyricLine::Join(std::size_t from, std::size_t to) const {
    std::string out;
    if (m_page.words.empty())
        return out;
    const int line = m_page.words[CurrentWord()].line;
    for (std::size_t i = from; i < to && i < m_page.words.size(); ++i) {
        if (m_page.words[i].line == line)
            out += m_page.words[i].text;
    }
    return out;
}

std::string LyricDisplayText(const char* bytes, int length, const std::string& encoding) {
    // Only code page 932 has double-byte characters whose second byte may look like mark-up.
    const bool doubleBytes = encoding.empty() || encoding == "CP932";
    std::string kept;
    int brackets = 0; // 1 inside a base, 2 inside its reading
    for (int i = 0; i < length; ++i) {
        const char c = bytes[i];
        if (doubleBytes && CLSTString::IsDoubleByteChar(bytes + i) && i + 1 < length) {
            if (brackets < 2)
                kept.append(bytes + i, 2);
            ++i;
            continue;
        }
        if (c == '[') {
            brackets = brackets == 0 ? 1 : 2;
        } else if (c == ']') {
            brackets = 0;
        } else if (c == '\n' && i + 1 == length) {
            // a line's end, not a space inside it
        } else if (brackets < 2 && c != '<') {
            kept += (c == '\t' || c == '\n' || c == '\r') ? ' ' : c;
        }
    }
    return DisplayText(kept.c_str(), kept.size(), encoding);
}
