#include "controls/WordLayout.h"

#include "core/DisplayText.h"
#include "core/UiText.h"

#include <cctype>

#include <algorithm>
#include <climits>

namespace {

constexpr char kRubyMark = '[';
constexpr char kRubyEnd = ']';

const char* FindChar(const char* p, const char* end, bool utf8, char wanted) {
    while (p < end && *p != wanted)
        p += WordCharLength(p, end, utf8);
    return p;
}

int Utf8SequenceLength(unsigned char lead) noexcept {
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    return lead >= 0xC0 ? 2 : 1;
}

std::string TitleField(const CLSTStringArray& fields, std::size_t index) {
    if (index >= fields.size())
        return {};
    const CLSTString& field = fields[index];
    return DisplayText(field.Text(), static_cast<std::size_t>(field.Length()));
}

} // namespace

int WordUnitSize(int width, int height) noexcept {
    return std::max(0, std::min(width / 20, height / 12));
}

int WordLineY(int height, int unit, int line) noexcept {
    return height - unit / 2 - (line + 1) * 2 * unit;
}

int WordLineX(int width, int unit, const CLSMIDIWordInfoArray& line) noexcept {
    if (line.empty() || line[0].part != 2)
        return unit;
    long long bytes = 0;
    for (const CLSMIDIWordInfo& word : line)
        bytes += word.text.Length();
    return static_cast<int>((width - unit * bytes / 2) / 2);
}

int WordTabStop(int x, int unit) noexcept {
    const int stop = 2 * unit;
    if (stop <= 0)
        return x;
    return (x >= 0 ? x / stop + 1 : x / stop) * stop;
}

WordBand WordClearLineBand(int height, int unit, int line) noexcept {
    const int top = height - unit / 2 - unit * (2 * line + 3);
    return {top, top + 2 * unit};
}

int WordWipeRight(CLSMIDIWordInfo::Point start, CLSMIDIWordInfo::Point end, int remainingMs,
                  int duration) noexcept {
    if (duration <= 0)
        return end.x;
    // 64 bits: the time left can be as large as the engine's "nothing due" answer.
    const long long span = static_cast<long long>(end.x) - start.x;
    const long long right = end.x - span * remainingMs / duration;
    return static_cast<int>(std::clamp<long long>(right, INT_MIN, INT_MAX));
}

int WordCharLength(const char* p, const char* end, bool utf8) noexcept {
    int length = 1;
    if (utf8)
        length = Utf8SequenceLength(static_cast<unsigned char>(*p));
    else if (end - p >= 2 && CLSTString::IsDoubleByteChar(p))
        length = 2;
    return static_cast<int>(std::min<std::ptrdiff_t>(length, end - p));
}

bool WordTextIsUtf8(const char* text, int length) noexcept {
    const bool ascii = std::all_of(text, text + length,
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return !ascii && IsValidUtf8(text, static_cast<std::size_t>(length));
}

WordTitleTexts SplitWordTitle(const CLSTString& record) {
    const CLSTStringArray fields = record.Split(':', '\\');
    WordTitleTexts texts{TitleField(fields, 0), TitleField(fields, 1), TitleField(fields, 2),
                         TitleField(fields, 3)};
    if (!texts.lyricist.empty())
        texts.lyricist += UiText::Translate("WordLayout", " : 作詞");
    if (!texts.composer.empty())
        texts.composer += UiText::Translate("WordLayout", " : 作曲");
    return texts;
}

void WordLayout::LayOut(CLSWordLineList::iterator first, CLSWordLineList::iterator last) {
    if (m_unit <= 0)
        return;
    m_cleared = false;
    m_ruby = {};
    for (auto line = first; line != last; ++line)
        LayOutLine(*line);
}

void WordLayout::LayOutLine(CLSMIDIWordInfoArray& line) {
    if (line.empty())
        return;
    Cursor at{WordLineX(m_width, m_unit, line), WordLineY(m_height, m_unit, line[0].line)};
    for (std::size_t i = 0; i < line.size(); ++i)
        LayOutRecord(line, i, at);
}

void WordLayout::LayOutRecord(CLSMIDIWordInfoArray& line, std::size_t index, Cursor& at) {
    CLSMIDIWordInfo& word = line[index];
    if (!m_cleared || at.y != m_clearedY) {
        m_canvas.FillBlack(at.y - m_unit, word.part == 0 ? at.y + m_unit : m_height);
        m_clearedY = at.y;
        m_cleared = true;
    }
    word.startPoint = {m_ruby.open ? m_ruby.x : at.x, at.y - m_unit};

    const char* p = word.text.Text();
    const char* const end = p + word.text.Length();
    const bool utf8 = WordTextIsUtf8(p, word.text.Length());
    int rubyBytes = 0;
    bool newline = false;
    if (m_ruby.open)
        p = CountRunningRuby(p, end, utf8, rubyBytes);
    while (p < end) {
        if (*p == kRubyMark) {
            p = DrawRubyGroup(line, index, p, end, utf8, at, rubyBytes);
        } else if (*p == '\n') {
            word.endPoint = {at.x, at.y + m_unit};
            at.y += 2 * m_unit;
            at.x = m_unit;
            newline = true;
            ++p;
        } else {
            const int length = WordCharLength(p, end, utf8);
            at.x += DrawRun(p, p + length, utf8, at.x, at.y, false, true);
            p += length;
        }
    }
    if (newline)
        return;
    if (m_ruby.open) {
        if (m_ruby.totalBytes > 0)
            m_ruby.x += static_cast<int>(static_cast<long long>(m_ruby.baseWidth) * rubyBytes /
                                         m_ruby.totalBytes);
        word.endPoint = {m_ruby.x, at.y + m_unit};
    } else {
        word.endPoint = {at.x, at.y + m_unit};
    }
}

// A group opened in an earlier record: this record's text up to "]" is more of its reading.
const char* WordLayout::CountRunningRuby(const char* p, const char* end, bool utf8, int& bytes) {
    const char* close = FindChar(p, end, utf8, kRubyEnd);
    bytes += static_cast<int>(close - p);
    if (close == end)
        return end;
    m_ruby.open = false;
    return close + 1;
}

// "[" base "[" reading "]": the base in the main font, the reading centred above it. The
// reading may run on through the following records of the line.
const char* WordLayout::DrawRubyGroup(CLSMIDIWordInfoArray& line, std::size_t index, const char* p,
                                      const char* end, bool utf8, Cursor& at, int& rubyBytes) {
    m_ruby.x = at.x;
    const char* const base = p + 1;
    const char* const baseEnd = FindChar(base, end, utf8, kRubyMark);
    const int baseWidth = DrawRun(base, baseEnd, utf8, at.x, at.y, false, true);
    at.x += baseWidth;
    if (baseEnd == end)
        return end;

    const char* const reading = baseEnd + 1;
    const char* const readingEnd = FindChar(reading, end, utf8, kRubyEnd);
    rubyBytes += static_cast<int>(readingEnd - reading);
    std::string ruby(reading, readingEnd);
    if (readingEnd == end) {
        for (std::size_t next = index + 1; next < line.size(); ++next) {
            const CLSTString& text = line[next].text;
            const char* const close =
                FindChar(text.Text(), text.Text() + text.Length(),
                         WordTextIsUtf8(text.Text(), text.Length()), kRubyEnd);
            ruby.append(text.Text(), close);
            if (close != text.Text() + text.Length())
                break;
        }
        m_ruby.open = true;
        m_ruby.baseWidth = baseWidth;
        m_ruby.totalBytes = static_cast<int>(ruby.size());
    }

    const char* const rubyBegin = ruby.data();
    const char* const rubyEnd = rubyBegin + ruby.size();
    const int rubyWidth = DrawRun(rubyBegin, rubyEnd, utf8, 0, 0, true, false);
    DrawRun(rubyBegin, rubyEnd, utf8, m_ruby.x + (baseWidth - rubyWidth) / 2,
            at.y - (m_unit / 3 + 2), true, true);
    return readingEnd == end ? end : readingEnd + 1;
}

// Draws (or only measures) text one character at a time; returns the width it takes.
int WordLayout::DrawRun(const char* p, const char* end, bool utf8, int x, int y, bool ruby,
                        bool draw) {
    const int start = x;
    while (p < end) {
        const int length = WordCharLength(p, end, utf8);
        if (*p == '\t') {
            x = WordTabStop(x, m_unit);
        } else if (static_cast<unsigned char>(*p) >= 0x20) {
            if (draw)
                m_canvas.DrawChar(x, y, p, length, ruby);
            x += m_canvas.CharWidth(p, length, ruby);
        }
        p += length;
    }
    return x - start;
}

std::string WordEncodingToConvert(const std::string& songEncoding) {
    std::string upper;
    for (char c : songEncoding)
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper.empty() || upper == "UTF-8" || upper == "CP932" || upper == "SHIFT_JIS" ||
        upper == "SJIS" || upper == "WINDOWS-31J")
        return {};
    return songEncoding;
}

void ConvertToUtf8(CLSMIDIWordInfoArray& words, const std::string& encoding) {
    if (encoding.empty())
        return;
    for (CLSMIDIWordInfo& word : words) {
        if (word.text.IsEmpty())
            continue;
        const std::string utf8 =
            DisplayText(word.text.Text(), static_cast<std::size_t>(word.text.Length()), encoding);
        word.text = CLSTString(utf8.c_str());
    }
}
