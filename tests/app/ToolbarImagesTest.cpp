#include "app/ToolbarImages.h"

#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

namespace {

int argc = 1;
char arg0[] = "test_app";
char* argv[] = {arg0, nullptr};

int InkedPixels(const QImage& image) {
    int inked = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            inked += qAlpha(image.pixel(x, y)) > 128;
    return inked;
}

TEST(ToolbarImages, EveryImageIsDrawnAtBothRatiosAndHotDiffers) {
    QGuiApplication app(argc, argv);
    for (int i = 0; i < ToolbarImages::kCount; ++i) {
        const QImage one = ToolbarImages::Draw(i, false, 1.0).toImage();
        const QImage two = ToolbarImages::Draw(i, false, 2.0).toImage();
        ASSERT_EQ(one.size(), QSize(28, 20));
        ASSERT_EQ(two.size(), QSize(56, 40)) << "drawn at device resolution, not scaled up";
        EXPECT_GT(InkedPixels(one), 20) << i;
        // Same shape at twice the resolution: about four times the inked pixels.
        EXPECT_NEAR(InkedPixels(two), 4 * InkedPixels(one), InkedPixels(one)) << i;
        EXPECT_NE(ToolbarImages::Draw(i, true, 1.0).toImage(), one) << i;
    }
}

} // namespace
