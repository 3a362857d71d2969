// The lyrics display's arithmetic and layout, measured with a ruler of fixed widths.
#include "controls/WordLayout.h"
#include "fixtures/SampleSongs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

namespace {

constexpr int kUnit = 20; // S for a 400 x 240 display
constexpr int kWidth = 400;
constexpr int kHeight = 240;

// A byte is 10 px wide in the main font and 5 px in the ruby font, so widths are exact.
class Ruler final : public WordLayout::Canvas {
public:
    struct Drawn {
        int x;
        int y;
        std::string text;
        bool ruby;
    };
    int CharWidth(const char*, int length, bool ruby) override { return length * (ruby ? 5 : 10); }
    void DrawChar(int x, int y, const char* bytes, int length, bool ruby) override {
        drawn.push_back({x, y, std::string(bytes, length), ruby});
    }
    void FillBlack(int top, int bottom) override { fills.push_back({top, bottom}); }

    std::string Text(bool ruby) const {
        std::string out;
        for (const Drawn& d : drawn)
            if (d.ruby == ruby)
                out += d.text;
        return out;
    }
    std::vector<Drawn> drawn;
    std::vector<WordBand> fills;
};

CLSMIDIWordInfo Word(const std::string& text, int line, int part = 0) {
    CLSMIDIWordInfo word;
    word.kind = CLSMIDIWordInfo::kPageWord;
    word.text = CLSTString(text.c_str());
    word.line = line;
    word.part = part;
    word.duration = 500;
    return word;
}

class Layout : public ::testing::Test {
protected:
    void LayOutAll() {
        WordLayout(ruler, kWidth, kHeight, kUnit).LayOut(lines.begin(), lines.end());
    }
    CLSMIDIWordInfoArray& AddLine() { return lines.emplace_back(); }

    Ruler ruler;
    CLSWordLineList lines;
};

TEST_F(Layout, WordsFollowOneAnotherAndEndAtTheirLastCharacter) {
    CLSMIDIWordInfoArray& line = AddLine();
    line.push_back(Word(ToCP932("春の"), 0));
    line.push_back(Word("ab", 0));
    LayOutAll();
    EXPECT_EQ(line[0].startPoint.x, kUnit);
    EXPECT_EQ(line[0].endPoint.x, kUnit + 40); // two double-byte characters of 20 px
    EXPECT_EQ(line[1].startPoint.x, kUnit + 40);
    EXPECT_EQ(line[1].endPoint.x, kUnit + 60);
    ASSERT_EQ(ruler.drawn.size(), 4u); // one call per character, never half of one
    EXPECT_EQ(ruler.drawn[1].text, ToCP932("の"));
}

TEST_F(Layout, RubyGroupSharesTheBaseByReadingBytes) {
    // "[" base (2 characters) "[" the first 4 of 6 reading bytes, then the last 2 and "]".
    CLSMIDIWordInfoArray& line = AddLine();
    line.push_back(Word("[" + ToCP932("漢字") + "[" + ToCP932("かん"), 0));
    line.push_back(Word(ToCP932("じ") + "]", 0));
    line.push_back(Word("x", 0));
    LayOutAll();
    const int base = 40;
    EXPECT_EQ(line[0].startPoint.x, kUnit);
    EXPECT_EQ(line[0].endPoint.x, kUnit + base * 4 / 6); // two thirds across the base
    EXPECT_EQ(line[1].startPoint.x, line[0].endPoint.x);
    EXPECT_EQ(line[1].endPoint.x, kUnit + base);
    EXPECT_EQ(line[2].startPoint.x, kUnit + base);
    // The reading is drawn once, whole, centred over the base and above the line.
    EXPECT_EQ(ruler.Text(true), ToCP932("かんじ"));
    EXPECT_EQ(ruler.Text(false), ToCP932("漢字") + "x");
    const Ruler::Drawn& firstRuby = *std::find_if(ruler.drawn.begin(), ruler.drawn.end(),
                                                  [](const Ruler::Drawn& d) { return d.ruby; });
    EXPECT_EQ(firstRuby.x, kUnit + (base - 30) / 2);
    EXPECT_EQ(firstRuby.y, 190 - (kUnit / 3 + 2));
}

TEST_F(Layout, MarksInsideDoubleByteCharactersAreNotMarkup) {
    // The long vowel mark's second byte is "[": it must not open or end a group.
    const std::string dash = ToCP932("ー");
    ASSERT_EQ(dash[1], '[');
    CLSMIDIWordInfoArray& line = AddLine();
    line.push_back(Word("[" + ToCP932("カー") + "[" + ToCP932("かー") + "]" + dash, 0));
    LayOutAll();
    EXPECT_EQ(ruler.Text(false), ToCP932("カー") + dash);
    EXPECT_EQ(ruler.Text(true), ToCP932("かー"));
    EXPECT_EQ(line[0].endPoint.x, kUnit + 60);
}

TEST_F(Layout, UnclosedReadingRunsOnAsReadingIntoTheNextLine) {
    AddLine().push_back(Word("[ab[xy", 1));
    CLSMIDIWordInfoArray& next = AddLine();
    next.push_back(Word("cd", 0));
    LayOutAll();
    EXPECT_EQ(ruler.Text(false), "ab"); // "cd" is counted as reading, not drawn
    EXPECT_EQ(ruler.Text(true), "xy");
}

TEST_F(Layout, TabsStopEveryTwoUnitsAndNewlinesStartALineBelow) {
    CLSMIDIWordInfoArray& line = AddLine();
    line.push_back(Word("a\tb", 1));
    line.push_back(Word("c\nd", 1));
    LayOutAll();
    ASSERT_EQ(ruler.drawn.size(), 4u);
    EXPECT_EQ(ruler.drawn[1].x, 2 * kUnit);        // "a" ends at 30: next stop is 40
    EXPECT_EQ(line[1].endPoint.x, 2 * kUnit + 20); // at the newline
    EXPECT_EQ(ruler.drawn[3].x, kUnit);
    EXPECT_EQ(ruler.drawn[3].y, ruler.drawn[2].y + 2 * kUnit);
}

TEST_F(Layout, Utf8TextsStepOverWholeCharacters) {
    CLSMIDIWordInfoArray& line = AddLine();
    line.push_back(Word("はる", 0));
    LayOutAll();
    ASSERT_EQ(ruler.drawn.size(), 2u);
    EXPECT_EQ(ruler.drawn[0].text, "は");
}

TEST(WordArithmetic, WipeEdgeRunsFromTheWordsStartToItsEnd) {
    const CLSMIDIWordInfo::Point start{100, 0};
    const CLSMIDIWordInfo::Point end{160, 40};
    EXPECT_EQ(WordWipeRight(start, end, 0, 600), 160);
    EXPECT_EQ(WordWipeRight(start, end, 300, 600), 130);
    EXPECT_LT(WordWipeRight(start, end, 700, 600), 100);
    // The engine answers INT_MAX when nothing is due: no overflow into a full wipe.
    EXPECT_LT(WordWipeRight(start, end, INT_MAX, 600), 100);
    EXPECT_GT(WordWipeRight(start, end, -300, 600), 160);
}

TEST(WordTitle, FieldsGetTheirSuffixesOnlyWhenPresent) {
    const WordTitleTexts t =
        SplitWordTitle(CLSTString(ToCP932("春の歌:作曲家:作詞家:歌手").c_str()));
    EXPECT_EQ(t.title, "春の歌");
    EXPECT_EQ(t.composer, "作曲家 : 作曲");
    EXPECT_EQ(t.lyricist, "作詞家 : 作詞");
    EXPECT_EQ(t.performer, "歌手");
    const WordTitleTexts bare = SplitWordTitle(CLSTString("Song:::"));
    EXPECT_EQ(bare.title, "Song");
    EXPECT_TRUE(bare.composer.empty());
    EXPECT_TRUE(bare.lyricist.empty());
    EXPECT_TRUE(SplitWordTitle(CLSTString("Song")).performer.empty());
}

TEST(WordTitle, ColonInTheTitleMovesTheRestOn) {
    const WordTitleTexts t = SplitWordTitle(CLSTString("Part 1: Dawn:Comp:Lyr:Singer"));
    EXPECT_EQ(t.title, "Part 1");
    EXPECT_EQ(t.composer, " Dawn : 作曲");
    EXPECT_EQ(t.lyricist, "Comp : 作詞");
    EXPECT_EQ(t.performer, "Lyr");
}

} // namespace

// Cyrillic in Windows-1251 has bytes that look like code page 932 lead bytes: the display
// turns such songs into UTF-8 before laying them out, one letter per character.
TEST(WordLayoutEncoding, SingleByteSongsAreWalkedAsUtf8) {
    EXPECT_EQ(WordEncodingToConvert("CP932"), "");
    EXPECT_EQ(WordEncodingToConvert("UTF-8"), "");
    ASSERT_EQ(WordEncodingToConvert("WINDOWS-1251"), "WINDOWS-1251");
    CLSMIDIWordInfoArray words;
    CLSMIDIWordInfo word;
    word.text = CLSTString("\xcf\xf0\xe8");
    words.push_back(word);
    ConvertToUtf8(words, "WINDOWS-1251");
    EXPECT_STREQ(words[0].text.Text(), "При");
    const char* p = words[0].text.Text();
    EXPECT_EQ(WordCharLength(p, p + words[0].text.Length(), true), 2);
}
