#pragma once

#include "midi/CLSMIDIWordInfo.h"

#include <list>
#include <string>

// The lyrics display's arithmetic and line layout, free of any drawing library: the control
// hands it a canvas and tests hand it a ruler.

using CLSWordLineList = std::list<CLSMIDIWordInfoArray>;

// The unit size S the whole display is measured in.
int WordUnitSize(int width, int height) noexcept;
// Top of the main font's cell for a lyric line (0 = lowest line).
int WordLineY(int height, int unit, int line) noexcept;
// Left end of a line; lines of part 2 are centred on the estimate of half a unit per byte.
int WordLineX(int width, int unit, const CLSMIDIWordInfoArray& line) noexcept;
// Next tab stop after x: stops every 2S from x = 0.
int WordTabStop(int x, int unit) noexcept;

struct WordBand {
    int top = 0;
    int bottom = 0; // exclusive
};
// The band a clear-line record blanks.
WordBand WordClearLineBand(int height, int unit, int line) noexcept;
// Right edge of the wipe with `remainingMs` left of a word lasting `duration` ms.
int WordWipeRight(CLSMIDIWordInfo::Point start, CLSMIDIWordInfo::Point end, int remainingMs,
                  int duration) noexcept;

// Bytes of the character at p (never past end): UTF-8 sequences when the text is UTF-8,
// else code page 932 double-byte characters.
int WordCharLength(const char* p, const char* end, bool utf8) noexcept;
// Whether a song text is to be walked as UTF-8 rather than code page 932.
bool WordTextIsUtf8(const char* text, int length) noexcept;

// The layout walks code page 932 and UTF-8 itself; a song in any other encoding (Latin-1,
// Windows-1251...) is turned into UTF-8 first, so its accented letters are not taken for the
// lead bytes of double-byte characters. Empty when no conversion is needed.
std::string WordEncodingToConvert(const std::string& songEncoding);
void ConvertToUtf8(CLSMIDIWordInfoArray& words, const std::string& encoding);

// The four texts of the title screen, ready to show (UTF-8), with their suffixes.
struct WordTitleTexts {
    std::string title;
    std::string composer;
    std::string lyricist;
    std::string performer;
};
WordTitleTexts SplitWordTitle(const CLSTString& record);

// Lays out and draws lines of lyric records, writing each record's start and end points.
class WordLayout {
public:
    // What the layout draws on; coordinates are logical pixels, y the top of the cell.
    class Canvas {
    public:
        virtual ~Canvas() = default;
        virtual int CharWidth(const char* bytes, int length, bool ruby) = 0;
        virtual void DrawChar(int x, int y, const char* bytes, int length, bool ruby) = 0;
        virtual void FillBlack(int top, int bottom) = 0; // across the whole width
    };

    WordLayout(Canvas& canvas, int width, int height, int unit) noexcept
        : m_canvas(canvas), m_width(width), m_height(height), m_unit(unit) {}

    // Lines from `first` to `last`, in list order; one pass shares the ruby state.
    void LayOut(CLSWordLineList::iterator first, CLSWordLineList::iterator last);

private:
    struct RubyRun {
        bool open = false; // a group runs on into later records
        int x = 0;         // where the next syllable of the group starts
        int baseWidth = 0;
        int totalBytes = 0;
    };
    struct Cursor {
        int x = 0;
        int y = 0;
    };

    void LayOutLine(CLSMIDIWordInfoArray& line);
    void LayOutRecord(CLSMIDIWordInfoArray& line, std::size_t index, Cursor& at);
    const char* CountRunningRuby(const char* p, const char* end, bool utf8, int& bytes);
    const char* DrawRubyGroup(CLSMIDIWordInfoArray& line, std::size_t index, const char* p,
                              const char* end, bool utf8, Cursor& at, int& rubyBytes);
    int DrawRun(const char* p, const char* end, bool utf8, int x, int y, bool ruby, bool draw);

    Canvas& m_canvas;
    int m_width;
    int m_height;
    int m_unit;
    int m_clearedY = 0;
    bool m_cleared = false;
    RubyRun m_ruby;
};
