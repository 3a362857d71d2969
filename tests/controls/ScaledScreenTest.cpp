// The displays drawn on a screen of device pixel ratio 2 (the test application's second
// offscreen screen): their pictures and what they paint have twice the pixels each way.
#include "SpectrumTestSupport.h"
#include "controls/CLSWordControl.h"
#include "fixtures/SampleSongs.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

constexpr QSize kSize(200, 108);

QScreen* FindScaledScreen() {
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->devicePixelRatio() == 2.0)
            return screen;
    return nullptr;
}

// A top-level window placed on the scaled screen.
void PutOnScaledScreen(QWidget& window, QScreen* screen) {
    window.resize(kSize);
    window.winId();
    window.windowHandle()->setScreen(screen);
    window.move(screen->geometry().topLeft() + QPoint(10, 10));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_EQ(window.devicePixelRatioF(), 2.0);
}

class ScaledScreen : public ::testing::Test {
protected:
    void SetUp() override {
        screen = FindScaledScreen();
        if (!screen)
            GTEST_SKIP() << "no screen of ratio 2 (not the offscreen platform)";
    }
    QScreen* screen = nullptr;
};

TEST_F(ScaledScreen, SpectrumPictureAndPaintHaveTwiceThePixels) {
    QWidget parent;
    CLSWndSpectrum spectrum;
    MIDITRACKINFOARRAY rows = MakeRows(3, 127, 1);
    spectrum.Create(&parent, 1035);
    spectrum.Move(0, 0, kSize.width(), kSize.height());
    spectrum.SetRows(&rows);
    PutOnScaledScreen(parent, screen);
    const QImage picture = spectrum.Picture();
    EXPECT_EQ(picture.size(), kSize * 2);
    EXPECT_EQ(picture.devicePixelRatio(), 2.0);
    const QPixmap shown = spectrum.Window()->grab();
    EXPECT_EQ(shown.size(), kSize * 2);
    // A one-pixel outline is two device pixels wide, not a blurred three.
    const QImage image = shown.toImage();
    const int pitch = spectrum.Pitch();
    EXPECT_EQ(image.pixel(2 * pitch, 50), 0xFF7F7F7Fu);
    EXPECT_EQ(image.pixel(2 * pitch + 1, 50), 0xFF7F7F7Fu);
    spectrum.Destroy();
}

TEST_F(ScaledScreen, WordPictureAndPaintHaveTwiceThePixels) {
    QWidget parent;
    CLSWordControl words(&parent);
    words.Move(0, 0, kSize.width(), kSize.height());
    PutOnScaledScreen(parent, screen);
    CLSMIDIWordInfo word;
    word.kind = CLSMIDIWordInfo::kPageWord;
    word.text = CLSTString(ToCP932("■■").c_str());
    CLSMIDIWordInfoArray page;
    page.push_back(word);
    words.HandleWords(page, 0);
    const QImage picture = words.Picture();
    EXPECT_EQ(picture.size(), kSize * 2);
    EXPECT_EQ(picture.devicePixelRatio(), 2.0);
    EXPECT_EQ(words.grab().size(), kSize * 2);
}

} // namespace
