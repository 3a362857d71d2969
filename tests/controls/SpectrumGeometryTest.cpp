// The spectrum's arithmetic and its gradient, without a window.
#include "controls/SpectrumGeometry.h"
#include "controls/SpectrumGradient.h"

#include <gtest/gtest.h>

namespace {

namespace SG = SpectrumGeometry;

TEST(SpectrumGradient, FourBandsRunFromEachColourTowardsTheNext) {
    const SpectrumColors colors = DefaultSpectrumColors();
    EXPECT_EQ(SpectrumGradientRow(0, 100, colors), qRgb(255, 0, 0));
    EXPECT_EQ(SpectrumGradientRow(12, 100, colors), qRgb(255, 122, 0)); // 12 of 25 towards yellow
    EXPECT_EQ(SpectrumGradientRow(25, 100, colors), qRgb(255, 255, 0));
    EXPECT_EQ(SpectrumGradientRow(50, 100, colors), qRgb(0, 255, 0));
    EXPECT_EQ(SpectrumGradientRow(75, 100, colors), qRgb(0, 255, 255));
    EXPECT_EQ(SpectrumGradientRow(99, 100, colors), qRgb(0, 10, 255)); // never quite blue
}

TEST(SpectrumGradient, UnevenHeightSplitsBandsByTruncation) {
    const SpectrumColors colors = DefaultSpectrumColors();
    // 10 rows: bands start at 0, 2, 5 and 7.
    EXPECT_EQ(SpectrumGradientRow(1, 10, colors), qRgb(255, 127, 0));
    EXPECT_EQ(SpectrumGradientRow(2, 10, colors), qRgb(255, 255, 0));
    EXPECT_EQ(SpectrumGradientRow(4, 10, colors), qRgb(85, 255, 0));
    EXPECT_EQ(SpectrumGradientRow(5, 10, colors), qRgb(0, 255, 0));
    EXPECT_EQ(SpectrumGradientRow(7, 10, colors), qRgb(0, 255, 255));
}

TEST(SpectrumGradient, BitmapIsOneColourPerRowAndSharpAtRatioTwo) {
    const SpectrumColors colors = DefaultSpectrumColors();
    const QImage one = CreateGradientBitmap(15, 100, colors);
    ASSERT_EQ(one.size(), QSize(15, 100));
    EXPECT_EQ(one.pixel(0, 25), qRgb(255, 255, 0));
    EXPECT_EQ(one.pixel(14, 12), one.pixel(0, 12));
    const QImage two = CreateGradientBitmap(15, 100, colors, 2.0);
    ASSERT_EQ(two.size(), QSize(30, 200));
    EXPECT_EQ(two.devicePixelRatio(), 2.0);
    EXPECT_EQ(two.pixel(0, 50), qRgb(255, 255, 0));
    EXPECT_NE(two.pixel(0, 25), two.pixel(0, 24)); // rendered per device row, not doubled
}

TEST(SpectrumGradient, NoRoomGivesNoBitmap) {
    EXPECT_TRUE(CreateGradientBitmap(15, 0, DefaultSpectrumColors()).isNull());
    EXPECT_TRUE(CreateGradientBitmap(15, -3, DefaultSpectrumColors()).isNull());
    EXPECT_TRUE(CreateGradientBitmap(0, 50, DefaultSpectrumColors()).isNull());
}

TEST(SpectrumMeterRows, DigitalSegmentsStayInsideTheGradient) {
    EXPECT_EQ(SG::Digital(127, 100).count, 33);
    EXPECT_EQ(SG::Digital(127, 100).lit, 33);
    EXPECT_EQ(SG::Digital(0, 100).lit, 0);
    EXPECT_EQ(SG::Digital(64, 100).lit, 16); // product first: 33 * 64 / 127
    for (int height : {1, 2, 3, 4, 100, 101, 102}) {
        const int top = SG::Digital(127, height).count - 1;
        if (top < 0)
            continue;
        EXPECT_GE(SG::SegmentSourceRow(top, height), 0) << height;
        EXPECT_GE(SG::SegmentTop(top, height), SG::kMeterTop) << height;
    }
}

TEST(SpectrumMuteHit, OnlyTheButtonOfAnExistingRowHits) {
    const int pitch = SG::Pitch(15);
    EXPECT_EQ(SG::HitMuteButton(2, 4, pitch, 1, 3), 0);
    EXPECT_EQ(SG::HitMuteButton(13, 15, pitch, 1, 3), 0);
    EXPECT_EQ(SG::HitMuteButton(14, 8, pitch, 1, 3), -1); // right edge is exclusive
    EXPECT_EQ(SG::HitMuteButton(5, 16, pitch, 1, 3), -1);
    EXPECT_EQ(SG::HitMuteButton(pitch + 5, 8, pitch, 1, 3), 1);
    EXPECT_EQ(SG::HitMuteButton(pitch + 5, 8, pitch, 3, 3), -1); // scrolled past the last row
    EXPECT_EQ(SG::HitMuteButton(5, 8, pitch, 3, 3), 2);
    EXPECT_EQ(SG::HitMuteButton(-pitch + 5, 8, pitch, 2, 3), -1); // left of the window
    EXPECT_EQ(SG::HitMuteButton(5, 8, pitch, 1, 0), -1);
}

TEST(SpectrumScrolling, TwentyRowsWithAPageOfEightRunFromOneToThirteen) {
    EXPECT_EQ(SG::Page(8 * 34 + 33, 34), 8);
    EXPECT_EQ(SG::ClampScroll(100, 1, 20, 8), 13);
    EXPECT_EQ(SG::ClampScroll(0, 1, 20, 8), 1);
    EXPECT_EQ(SG::ClampScroll(7, 1, 20, 8), 7);
    EXPECT_EQ(SG::ClampScroll(5, 1, 3, 8), 1); // all rows fit
    EXPECT_EQ(SG::Page(10, 34), 1);            // narrower than a column still scrolls by one
}

} // namespace
