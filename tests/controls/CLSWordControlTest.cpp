// What the lyrics display shows, checked on its picture.
#include "controls/CLSWordControl.h"
#include "PaintCounter.h"
#include "fixtures/SampleSongs.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QTest>

#include <string>

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 240;
constexpr int kUnit = 20;
const QColor kHighlight(128, 255, 128);

CLSMIDIWordInfo Record(int kind, const std::string& text = {}, int line = 0, int duration = 0) {
    CLSMIDIWordInfo word;
    word.kind = kind;
    word.text = CLSTString(text.c_str());
    word.line = line;
    word.duration = duration;
    return word;
}

CLSMIDIWordInfo PageWord(const std::string& text, int line, int duration = 1000) {
    return Record(CLSMIDIWordInfo::kPageWord, text, line, duration);
}

CLSMIDIWordInfo Syllable() {
    return Record(CLSMIDIWordInfo::kSyllable);
}

// Rows [top, bottom) holding any non-black pixel, and columns where a colour appears.
struct Extent {
    int top = -1;
    int bottom = -1;
    int left = -1;
    int right = -1;
};

Extent Find(const QImage& picture, int top, int bottom, bool (*match)(QRgb)) {
    const qreal ratio = picture.devicePixelRatio();
    Extent e;
    for (int y = int(top * ratio); y < int(bottom * ratio) && y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (!match(picture.pixel(x, y)))
                continue;
            if (e.top < 0)
                e.top = int(y / ratio);
            e.bottom = int(y / ratio) + 1;
            e.left = e.left < 0 ? int(x / ratio) : std::min(e.left, int(x / ratio));
            e.right = std::max(e.right, int(x / ratio) + 1);
        }
    }
    return e;
}

bool Lit(QRgb p) {
    return qRed(p) > 64 || qGreen(p) > 64 || qBlue(p) > 64;
}

bool White(QRgb p) {
    return qRed(p) > 200 && qGreen(p) > 200 && qBlue(p) > 200;
}

bool Highlit(QRgb p) {
    return qGreen(p) > 200 && qRed(p) > 100 && qRed(p) < 160;
}

class WordControl : public ::testing::Test {
protected:
    void SetUp() override {
        control.Move(0, 0, kWidth, kHeight);
        ASSERT_EQ(control.UnitSize(), kUnit);
    }
    void Handle(std::vector<CLSMIDIWordInfo> records, int remainingMs = 0) {
        CLSMIDIWordInfoArray batch;
        for (CLSMIDIWordInfo& r : records)
            batch.push_back(std::move(r));
        control.HandleWords(batch, remainingMs);
    }
    Extent FindIn(int top, int bottom, bool (*match)(QRgb)) {
        return Find(control.Picture(), top, bottom, match);
    }

    CLSWordControl control;
    const std::string block = ToCP932("■■");
};

TEST_F(WordControl, ThreeLinePageIsDrawnWithLineZeroLowest) {
    Handle({PageWord(block, 2), PageWord(block, 1), PageWord(block, 0)});
    const QImage picture = control.Picture();
    std::vector<int> tops;
    for (int line = 0; line < 3; ++line) {
        const int y = WordLineY(kHeight, kUnit, line);
        const Extent e = Find(picture, y - kUnit, y + kUnit, White);
        ASSERT_GE(e.top, y) << "line " << line; // text sits in the cell below the ruby row
        EXPECT_LT(e.bottom, y + kUnit + 1);
        EXPECT_LT(e.left, kUnit + 4); // from the left margin
        tops.push_back(e.top);
    }
    EXPECT_EQ(tops[0] - tops[1], 2 * kUnit);
    EXPECT_EQ(tops[1] - tops[2], 2 * kUnit);
    EXPECT_EQ(FindIn(0, WordLineY(kHeight, kUnit, 2) - kUnit, Lit).top, -1);
}

TEST_F(WordControl, WipeWithNoTimeLeftReachesTheWordsEnd) {
    Handle({PageWord(block, 0), PageWord(block, 0), Syllable()}, 0);
    const int y = WordLineY(kHeight, kUnit, 0);
    const Extent green = FindIn(y, y + kUnit, Highlit);
    const Extent white = FindIn(y, y + kUnit, White);
    ASSERT_GE(green.left, 0);
    EXPECT_LT(green.left, kUnit + 4);
    // The first word (two blocks) is highlit, the second still white.
    EXPECT_GT(green.right, kUnit + (white.right - kUnit) / 2 - 4);
    EXPECT_LT(green.right, white.left + 1);
    EXPECT_GT(white.left, kUnit + (white.right - kUnit) / 2 - 4);
}

TEST_F(WordControl, WipeWithMoreTimeLeftThanTheDurationStaysBeforeTheWord) {
    Handle({PageWord(block, 0), Syllable()}, 1500);
    EXPECT_EQ(FindIn(0, kHeight, Highlit).top, -1);
    Handle({}, 500); // halfway through the word
    const int y = WordLineY(kHeight, kUnit, 0);
    const Extent green = FindIn(y, y + kUnit, Highlit);
    const Extent white = FindIn(y, y + kUnit, White);
    ASSERT_GE(green.right, 0); // the first block highlit, the second still white
    ASSERT_GE(white.left, 0);
    EXPECT_LE(green.right, white.left);
    EXPECT_GT(white.left, kUnit + kUnit / 2);
}

TEST_F(WordControl, UntimedWipeHighlightsTheWholeWordAtOnce) {
    control.SetTimedWipe(false);
    Handle({PageWord(block, 0), Syllable()}, 1500);
    const int y = WordLineY(kHeight, kUnit, 0);
    EXPECT_EQ(FindIn(y, y + kUnit, White).top, -1);
    EXPECT_GE(FindIn(y, y + kUnit, Highlit).top, 0);
}

TEST_F(WordControl, WipeDrawnOverByAPageIsWipedAgainThoughItDidNotMove) {
    Handle({PageWord(block, 0), Syllable()}, 0);
    const int y = WordLineY(kHeight, kUnit, 0);
    ASSERT_EQ(FindIn(y, y + kUnit, White).top, -1);
    Handle({PageWord(block, 0)}, 0); // the next page's line 0 covers the word being sung
    EXPECT_EQ(FindIn(y, y + kUnit, White).top, -1);
    EXPECT_GE(FindIn(y, y + kUnit, Highlit).top, 0);
}

TEST_F(WordControl, FinishedWipeAsksForNoMoreRepaints) {
    control.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&control));
    PaintCounter counter(control);
    Handle({PageWord(block, 0), Syllable()}, 0);
    QTest::qWait(20);
    const int painted = counter.count;
    EXPECT_GE(painted, 1);
    for (int tick = 0; tick < 5; ++tick)
        Handle({}, 0);
    QTest::qWait(20);
    EXPECT_EQ(counter.count, painted);
}

TEST_F(WordControl, RubyWipeStopsTwoThirdsAcrossTheBase) {
    Handle({PageWord("[" + block + "[" + ToCP932("かん"), 0), PageWord(ToCP932("じ") + "]", 0),
            Syllable()},
           0);
    const int y = WordLineY(kHeight, kUnit, 0);
    const Extent green = FindIn(y, y + kUnit, Highlit);
    const Extent white = FindIn(y, y + kUnit, White);
    const int baseWidth = white.right - green.left;
    EXPECT_NEAR(green.right - green.left, baseWidth * 2 / 3, 3);
    // The reading stands once above the base, in the small font.
    const Extent ruby = FindIn(y - kUnit, y, Lit);
    ASSERT_GE(ruby.top, 0);
    EXPECT_GT(ruby.left, green.left);
    EXPECT_LT(ruby.right, white.right);
    EXPECT_LE(ruby.bottom - ruby.top, kUnit / 3 + 1);
}

TEST_F(WordControl, NextPageBecomesCurrentOnlyAfterTheSungLine) {
    Handle({PageWord(block, 0), PageWord(block, 0), Syllable()}, 0);
    Handle({PageWord(block, 1)}, 0); // arrives while line 0 is sung
    const int y0 = WordLineY(kHeight, kUnit, 0);
    const int y1 = WordLineY(kHeight, kUnit, 1);
    Handle({Syllable()}, 0);
    EXPECT_EQ(FindIn(y0, y0 + kUnit, White).top, -1); // both words of line 0 sung
    EXPECT_EQ(FindIn(y1, y1 + kUnit, Highlit).top, -1);
    Handle({Syllable()}, 0);
    EXPECT_GE(FindIn(y1, y1 + kUnit, Highlit).top, 0);
}

TEST_F(WordControl, ClearLineBlanksOnlyItsBand) {
    Handle({PageWord(block, 1), PageWord(block, 0)});
    Handle({Record(CLSMIDIWordInfo::kClearLine, {}, 1)});
    const int y0 = WordLineY(kHeight, kUnit, 0);
    const int y1 = WordLineY(kHeight, kUnit, 1);
    EXPECT_EQ(FindIn(y1 - kUnit, y1 + kUnit, Lit).top, -1);
    EXPECT_GE(FindIn(y0, y0 + kUnit, Lit).top, 0);
    Handle({Record(CLSMIDIWordInfo::kCuePoint)});
    EXPECT_EQ(FindIn(0, kHeight, Lit).top, -1);
}

TEST_F(WordControl, TitleScreenPlacesEachField) {
    Handle({Record(CLSMIDIWordInfo::kTitle, ToCP932("春の歌:作曲家:作詞家:歌手"))});
    const Extent title = FindIn(3 * kUnit, 4 * kUnit, White);
    ASSERT_GE(title.top, 0);
    EXPECT_NEAR((title.left + title.right) / 2, kWidth / 2, 4);
    const Extent performer = FindIn(6 * kUnit, 7 * kUnit, White);
    EXPECT_NEAR(performer.right, kWidth - 7 * kUnit / 2, 3);
    const Extent lyricist = FindIn(9 * kUnit, 9 * kUnit + 2 * kUnit / 3, White);
    EXPECT_NEAR(lyricist.right, kWidth - 2 * kUnit, 3);
    const Extent composer = FindIn(9 * kUnit + 2 * kUnit / 3 + 1, kHeight, White);
    ASSERT_GE(composer.top, 0); // the composer line sits below the lyricist's
    EXPECT_NEAR(composer.right, kWidth - 2 * kUnit, 3);
}

TEST_F(WordControl, ResizeDrawsTheLinesAgainAtTheNewSize) {
    Handle({PageWord(block, 0)});
    control.Move(0, 0, 2 * kWidth, 2 * kHeight);
    const int y = WordLineY(2 * kHeight, 2 * kUnit, 0);
    const Extent e = FindIn(y, y + 2 * kUnit, White);
    ASSERT_GE(e.top, 0);
    EXPECT_GT(e.bottom - e.top, kUnit); // the text grew with the unit
}

TEST_F(WordControl, StopClearsTheDisplayWithoutAThread) {
    Handle({PageWord(block, 0)});
    control.Stop();
    EXPECT_FALSE(control.IsRunning());
    EXPECT_EQ(FindIn(0, kHeight, Lit).top, -1);
}

} // namespace
