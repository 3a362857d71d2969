#include "midi/CLSWordPagePlan.h"

namespace {

using Word = CLSMIDIWordInfo;
using WordIt = CLSWordPagePlan::WordIt;
constexpr const char* kFullWidthSpace = "\x81\x40";

bool IsSyllable(const Word& w) {
    return w.kind == Word::kSyllable;
}
bool StartsPage(const Word& w) {
    return w.text.Text()[0] == '<';
}
bool IsPageStartSyllable(const Word& w) {
    return IsSyllable(w) && StartsPage(w);
}

bool IsFullWidthSpace(const char* p) {
    return static_cast<unsigned char>(p[0]) == 0x81 && static_cast<unsigned char>(p[1]) == 0x40;
}

int CountLineFeeds(const CLSTString& text) {
    int n = 0;
    for (int i = 0; i < text.Length(); i += CLSTString::IsDoubleByteChar(text.Text() + i) ? 2 : 1)
        n += text.Text()[i] == '\n';
    return n;
}

// Byte position of the next "[" at or after `from` in a text, stepping over double-byte
// characters; -1 when there is none.
int FindOpenBracket(const char* text, int length, int from) {
    for (int i = from; i < length; i += CLSTString::IsDoubleByteChar(text + i) ? 2 : 1) {
        if (text[i] == '[')
            return i;
    }
    return -1;
}

// Measures one syllable's text into the line: width in columns (readings do not count),
// whether a full-width space was met, and where a line feed ends the line (-1: none).
int MeasureText(const CLSTString& word, unsigned& width, bool& inReading, bool& sawSpace) {
    const char* text = word.Text();
    const int length = word.Length();
    int i = 0;
    while (i < length) {
        if (CLSTString::IsDoubleByteChar(text + i)) {
            sawSpace = sawSpace || IsFullWidthSpace(text + i);
            if (!inReading)
                width += 2;
            i += 2;
        } else if (text[i] == '[') {
            const int second = FindOpenBracket(text, length, i + 1);
            if (second < 0)
                return -1;
            width += static_cast<unsigned>(second - (i + 1)); // the base; its reading follows
            inReading = true;
            i = second + 1;
        } else if (text[i] == ']') {
            inReading = false;
            ++i;
        } else if (text[i] == '\n') {
            return i;
        } else {
            width += inReading ? 0 : 1;
            ++i;
        }
    }
    return -1;
}

} // namespace

WordIt CLSWordPagePlan::CollectLine(WordIt start) {
    unsigned width = 0;
    bool inReading = false;
    WordIt split = m_words.end();
    WordIt next = m_words.end();
    for (WordIt it = start; it != m_words.end(); ++it) {
        if (!IsSyllable(*it))
            continue;
        if (it != start && StartsPage(*it)) {
            next = it;
            break;
        }
        bool sawSpace = false;
        const int lineFeed = MeasureText(it->text, width, inReading, sawSpace);
        if (sawSpace && split == m_words.end())
            split = it;
        if (lineFeed >= 0) {
            const bool moreText = lineFeed + 1 < it->text.Length();
            next = (moreText && it != start) ? it : std::next(it);
            break;
        }
    }
    if (width < kWrapColumns || split == m_words.end())
        return next;
    return WrapAt(split);
}

// Breaks a line at the first full-width space of the record `split`; returns where the next
// line starts.
WordIt CLSWordPagePlan::WrapAt(WordIt split) {
    CLSTString& text = split->text;
    const int space = text.Find(kFullWidthSpace);
    if (space + 2 >= text.Length()) {
        text.Replace(space, 2, "\n");
        return std::next(split);
    }
    CLSMIDIWordInfo rest;
    rest.kind = Word::kSyllable;
    rest.part = split->part;
    rest.text = text.Mid(space + 2);
    text.Replace(space, text.Length() - space, "\n");
    return m_words.insert(std::next(split), rest);
}

void CLSWordPagePlan::Build() {
    std::uint32_t tempo = kDefaultTempo;
    for (WordIt r = m_words.begin(); r != m_words.end(); ++r) {
        if (r->kind == Word::kTempo) {
            tempo = static_cast<std::uint32_t>(r->duration);
            continue;
        }
        if (StartsPage(*r))
            LayOutPage(r, tempo);
        if (std::next(r) != m_words.end())
            r->duration = DurationToNext(r, tempo);
    }
}

// Numbers the lines of the page that starts at `r` and puts its page words in front of it.
void CLSWordPagePlan::LayOutPage(WordIt r, std::uint32_t tempo) {
    int lines = -1;
    WordIt end = r;
    do {
        end = CollectLine(end);
        ++lines;
    } while (end != m_words.end() && IsSyllable(*end) && !StartsPage(*end));
    if (r->part == 2 && lines < 2)
        ++lines;
    CLSTString& last = std::prev(end)->text;
    if (!last.IsEmpty() && last.Text()[last.Length() - 1] == '\n')
        last.Delete(last.Length() - 1, 1);

    const auto durationOf = [&](WordIt w) { return DurationToNext(w, tempo); };
    int n = lines;
    CLSMIDIWordInfo first;
    first.time = r->time;
    first.kind = Word::kPageWord;
    first.part = r->part;
    first.duration = durationOf(r);
    first.text = r->text.Mid(1);
    first.line = n;
    m_words.insert(r, first);
    r->line = n;
    n -= CountLineFeeds(r->text);
    for (WordIt s = std::next(r); s != m_words.end() && !IsPageStartSyllable(*s); ++s) {
        if (!IsSyllable(*s))
            continue;
        CLSMIDIWordInfo word;
        word.kind = Word::kPageWord;
        word.part = r->part;
        word.duration = durationOf(s);
        word.text = s->text;
        word.line = n;
        m_words.insert(r, word);
        s->line = n;
        n -= CountLineFeeds(s->text);
    }
    r->time = 0;
}

int CLSWordPagePlan::DurationToNext(WordIt w, std::uint32_t tempo) const noexcept {
    const WordIt next = std::next(w);
    return next == m_words.end()
               ? 0
               : TicksToMs(static_cast<std::uint32_t>(next->time), tempo, m_resolution);
}

int CLSWordPagePlan::TicksToMs(std::uint32_t ticks, std::uint32_t tempo, int resolution) noexcept {
    const std::uint64_t divisor = static_cast<std::uint64_t>(resolution) * 1000;
    if (divisor == 0)
        return 0;
    const std::uint64_t ms = (static_cast<std::uint64_t>(ticks) * tempo + divisor / 2) / divisor;
    return ms > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(ms);
}
