#include "controls/CLSWndMarquee.h"
#include "controls/ControlFonts.h"
#include "controls/MarqueeScroll.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPainter>

#include <gtest/gtest.h>

#include <thread>

TEST(MarqueeScroll, PausesThreeSecondsThenMovesThreePixelsAStep) {
    MarqueeScroll scroll;
    scroll.Begin(0, 100);
    EXPECT_EQ(scroll.StartOffset(), 180);
    for (int i = 0; i < 60; ++i) { // 60 steps of 50 ms
        EXPECT_FALSE(scroll.Step());
        EXPECT_EQ(scroll.DrawX(), 0);
    }
    scroll.Step();
    EXPECT_EQ(scroll.DrawX(), -3);
    // The pause lasts three seconds whatever the step and period.
    EXPECT_EQ(MarqueeScroll(5, 100).StartOffset() / 5 * 100, 3000);
}

TEST(MarqueeScroll, TextLeavesOnlyPastTheEdgeAndTheGap) {
    MarqueeScroll scroll;
    scroll.Begin(0, 10);
    int steps = 0;
    while (!scroll.Step())
        ++steps;
    // 180 + 10 + 4 pixels have to pass: the first offset below -14 is -15 after 65 steps.
    EXPECT_EQ(steps + 1, 65);
    EXPECT_EQ(scroll.Offset(), -15);
}

TEST(MarqueeScroll, TextsCycleAndRestart) {
    MarqueeScroll scroll;
    EXPECT_EQ(scroll.NextIndex(true, 0), MarqueeScroll::kNone);
    scroll.Begin(scroll.NextIndex(true, 2), 5);
    EXPECT_EQ(scroll.NextIndex(false, 2), 1);
    scroll.Begin(1, 5);
    EXPECT_EQ(scroll.NextIndex(false, 2), 0);
    EXPECT_EQ(scroll.NextIndex(true, 2), 0);
    // A list that shrank under the current text starts over.
    scroll.Begin(1, 5);
    EXPECT_EQ(scroll.NextIndex(false, 1), 0);
    scroll.Begin(MarqueeScroll::kNone, 40);
    EXPECT_EQ(scroll.TextWidth(), 0);
}

namespace {

// Smoothed glyphs rarely cover a whole pixel: any clearly pink pixel is the text colour's.
bool HasTextInk(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 100 && c.red() > c.green() + 30)
                return true;
        }
    return false;
}

bool IsInk(QColor c) {
    return c.red() > 100 && c.red() > c.green() + 30;
}

// The first and last rows holding text ink, {-1, -1} when there is none.
std::pair<int, int> InkRows(const QImage& image) {
    std::pair<int, int> rows{-1, -1};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if (!IsInk(image.pixelColor(x, y)))
                continue;
            if (rows.first < 0)
                rows.first = y;
            rows.second = y;
            break;
        }
    return rows;
}

} // namespace

TEST(MarqueeThreads, TextInTheTwelvePixelStripKeepsItsTopsAndDescenders) {
    const QString text = QStringLiteral("ファイル名: /m/Happy_jig.mid");
    const QFont font = ControlFonts::InterfaceFont();
    QImage free(400, 40, QImage::Format_RGB32);
    free.fill(Qt::black);
    {
        QPainter painter(&free);
        painter.setFont(font);
        painter.setPen(QColor(255, 170, 170));
        painter.drawText(QPoint(0, 10 + QFontMetrics(font).ascent()), text);
    }
    const auto whole = InkRows(free);
    ASSERT_GE(whole.first, 0);

    QWidget parent;
    parent.resize(400, 40);
    CLSWndMarquee strip;
    strip.Create(&parent, 1037);
    strip.Move(0, 0, 300, 12);
    strip.SetFont(font);
    CLSTStringArray texts;
    texts.push_back(CLSTString(text.toUtf8().constData()));
    strip.SetTexts(texts);
    QElapsedTimer timer;
    timer.start();
    while (!HasTextInk(strip.Picture()) && timer.elapsed() < 2000)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const auto shown = InkRows(strip.Picture());
    ASSERT_GE(shown.first, 0);
    EXPECT_EQ(shown.second - shown.first, whole.second - whole.first) << "tops or descenders cut";
}

TEST(MarqueeThreads, ThreadDrawsTheTextAndStopsOnDestroy) {
    QWidget parent;
    parent.resize(400, 40);
    CLSWndMarquee strip;
    strip.Create(&parent, 1037);
    ASSERT_TRUE(strip.IsCreated());
    strip.Move(0, 0, 300, 20);
    CLSTStringArray texts;
    texts.push_back(CLSTString("\x8b\xc8\x96\xbc: song")); // CP932 "曲名"
    texts.push_back(CLSTString("second"));
    strip.SetTexts(texts);
    texts.clear(); // the strip keeps its own copy

    QElapsedTimer timer;
    timer.start();
    while (!HasTextInk(strip.Picture()) && timer.elapsed() < 2000) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(HasTextInk(strip.Picture()));
    EXPECT_EQ(strip.CurrentIndex(), 0);
    EXPECT_EQ(strip.DrawX(), 0); // still in its pause

    strip.SetTexts(CLSTStringArray());
    EXPECT_EQ(strip.CurrentIndex(), MarqueeScroll::kNone);
    timer.restart();
    while (HasTextInk(strip.Picture()) && timer.elapsed() < 2000)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(HasTextInk(strip.Picture()));

    strip.Destroy();
    EXPECT_FALSE(strip.IsCreated());
    strip.Create(&parent, 1037);
    EXPECT_TRUE(strip.IsCreated());
}
