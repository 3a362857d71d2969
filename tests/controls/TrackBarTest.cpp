#include "controls/CLSWndTrackBar.h"
#include "controls/TrackBarGeometry.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <utility>
#include <vector>

using TrackBarGeometry::ThumbX;
using TrackBarGeometry::ValueAt;

TEST(TrackBarGeometry, ValueAtMouseRoundsToTheNearestPosition) {
    // Width 106, thumb 0: a 100-pixel track for 0..10, 10 pixels a step, 5 of them rounding.
    EXPECT_EQ(ValueAt(3, 0, 10, 106, 0), 0);
    EXPECT_EQ(ValueAt(7, 0, 10, 106, 0), 0);
    EXPECT_EQ(ValueAt(8, 0, 10, 106, 0), 1);
    EXPECT_EQ(ValueAt(13, 0, 10, 106, 0), 1);
    EXPECT_EQ(ValueAt(103, 0, 10, 106, 0), 10);
    // Clamped beyond both ends.
    EXPECT_EQ(ValueAt(-50, 0, 10, 106, 0), 0);
    EXPECT_EQ(ValueAt(500, 0, 10, 106, 0), 10);
    // A negative minimum rounds towards zero in the offset, not towards the minimum.
    EXPECT_EQ(ValueAt(0, -12, 12, 100, 17), -12);
}

TEST(TrackBarGeometry, KeySliderCentredIsZero) {
    const int x = ThumbX(0, -12, 12, 100, 17);
    EXPECT_EQ(x, 41);
    const auto thumb = TrackBarGeometry::ThumbRect(x, 17, 20);
    EXPECT_EQ(ValueAt((thumb.left + thumb.right) / 2, -12, 12, 100, 17), 0);
}

TEST(TrackBarGeometry, ThumbSpansTheTrack) {
    EXPECT_EQ(ThumbX(0, 0, 1000, 229, 23), 3);
    EXPECT_EQ(ThumbX(1000, 0, 1000, 229, 23), 229 - 23 - 3);
    // Seek bar of a two-hour song on a wide bar: the product no longer fits 32 bits.
    const int twoHours = 7'200'000;
    EXPECT_EQ(ThumbX(twoHours, 0, twoHours, 1229, 23), 1229 - 23 - 3);
    EXPECT_EQ(ThumbX(twoHours / 2, 0, twoHours, 1229, 23), 603);
    EXPECT_EQ(ValueAt(1229 - 23 / 2 - 3, 0, twoHours, 1229, 23), twoHours);
}

TEST(TrackBarGeometry, NoTrackNoValue) {
    EXPECT_FALSE(ValueAt(10, 0, 10, 29, 23).has_value());
    EXPECT_TRUE(ValueAt(10, 0, 10, 30, 23).has_value());
}

TEST(TrackBarGeometry, BrightnessInHsv) {
    using TrackBarGeometry::Rgb;
    EXPECT_EQ(TrackBarGeometry::ScaleBrightness({200, 200, 255}, 65), (Rgb{129, 129, 165}));
    EXPECT_EQ(TrackBarGeometry::ScaleBrightness({100, 100, 100}, 50), (Rgb{50, 50, 50}));
    // Beyond white the colour loses saturation instead of clipping a channel.
    const Rgb bright = TrackBarGeometry::ScaleBrightness({200, 200, 255}, 150);
    EXPECT_EQ(bright.b, 255);
    EXPECT_GT(bright.r, 200);
}

namespace {

class TrackBarWidget : public ::testing::Test {
protected:
    void SetUp() override {
        parent.resize(300, 60);
        bar.Create(&parent, 1033);
        bar.SetRange(-12, 12);
        bar.SetThumbLength(17);
        bar.SetPageStep(2);
        bar.Move(0, 0, 100, 20);
        QObject::connect(&bar, &CLSWndTrackBar::Notify, [this](int code, int pos, int id) {
            EXPECT_EQ(id, 1033);
            notes.emplace_back(code, pos);
        });
    }

    void Mouse(QEvent::Type type, int x, int y = 10) {
        QMouseEvent event(type, QPointF(x, y), bar.mapToGlobal(QPointF(x, y)), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&bar, &event);
    }
    void Key(int key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&bar, &event);
    }

    QWidget parent;
    CLSWndTrackBar bar;
    std::vector<std::pair<int, int>> notes;
};

} // namespace

TEST_F(TrackBarWidget, RangeMustBeIncreasing) {
    EXPECT_FALSE(bar.SetRange(5, 5));
    EXPECT_EQ(bar.Minimum(), -12);
    EXPECT_EQ(bar.Maximum(), 12);
}

TEST_F(TrackBarWidget, ClickBesideThumbJumpsAndReportsFinal) {
    Mouse(QEvent::MouseButtonPress, 11);
    EXPECT_EQ(bar.GetPos(), -12);
    EXPECT_FALSE(bar.IsDragging());
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].first, CLSWndTrackBar::kThumbPosition);
    EXPECT_EQ(notes[0].second, -12 & 0xFFFF);
}

TEST_F(TrackBarWidget, DragTracksAndSetPosIsRefusedMeanwhile) {
    Mouse(QEvent::MouseButtonPress, 49); // on the centred thumb
    ASSERT_TRUE(bar.IsDragging());
    EXPECT_EQ(bar.GetPos(), 0);
    Mouse(QEvent::MouseMove, 80);
    const int dragged = bar.GetPos();
    EXPECT_GT(dragged, 0);
    // The position feed must not pull the thumb from under the mouse.
    EXPECT_FALSE(bar.SetPos(-5));
    EXPECT_EQ(bar.GetPos(), dragged);
    Mouse(QEvent::MouseButtonRelease, 80);
    EXPECT_FALSE(bar.IsDragging());
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0].first, CLSWndTrackBar::kThumbTrack);
    EXPECT_EQ(notes[1].first, CLSWndTrackBar::kThumbTrack);
    EXPECT_EQ(notes[2].first, CLSWndTrackBar::kThumbPosition);
    EXPECT_TRUE(bar.SetPos(-5));
    EXPECT_EQ(bar.GetPos(), -5);
    EXPECT_TRUE(bar.SetPos(99));
    EXPECT_EQ(bar.GetPos(), 12);
}

TEST_F(TrackBarWidget, KeysStepAndClamp) {
    Key(Qt::Key_PageDown);
    EXPECT_EQ(bar.GetPos(), 2);
    Key(Qt::Key_Left);
    EXPECT_EQ(bar.GetPos(), 1);
    Key(Qt::Key_Down);
    EXPECT_EQ(bar.GetPos(), 2);
    bar.SetPos(12);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(bar.GetPos(), 12);
    ASSERT_EQ(notes.size(), 4u);
    for (const auto& note : notes)
        EXPECT_EQ(note.first, CLSWndTrackBar::kThumbPosition);
    Key(Qt::Key_A);
    EXPECT_EQ(notes.size(), 4u);
}

TEST_F(TrackBarWidget, NarrowSliderIgnoresTheMouse) {
    bar.Move(0, 0, 20, 20);
    Mouse(QEvent::MouseButtonPress, 15);
    EXPECT_TRUE(notes.empty());
    EXPECT_EQ(bar.GetPos(), 0);
}

TEST_F(TrackBarWidget, FillFromTheMinimumIsSwitchable) {
    bar.SetPos(12);
    const QColor background(66, 66, 66);
    EXPECT_NE(bar.grab().toImage().pixelColor(20, 10), background);
    bar.SetFill(false);
    EXPECT_EQ(bar.grab().toImage().pixelColor(20, 10), background);
}

using TrackBarThreads = TrackBarWidget;

// The position thread feeds the slider while the GUI thread drags and paints it.
TEST_F(TrackBarThreads, PositionFeedAgainstDragAndPaint) {
    parent.show();
    std::atomic<bool> done{false};
    std::thread feeder([&] {
        for (int i = 0; !done.load(); ++i)
            bar.SetPos(i % 25 - 12);
    });
    // The feeder moves the thumb all the time: press until the press lands on it.
    for (int attempt = 0; attempt < 1000 && !bar.IsDragging(); ++attempt) {
        Mouse(QEvent::MouseButtonPress, 49);
        if (!bar.IsDragging())
            Mouse(QEvent::MouseButtonRelease, 49);
    }
    if (!bar.IsDragging()) {
        done = true;
        feeder.join();
        FAIL() << "no press landed on the thumb";
    }
    for (int x = 40; x < 90; ++x) {
        if (bar.IsDragging())
            Mouse(QEvent::MouseMove, x);
        QCoreApplication::processEvents();
    }
    const int dragged = bar.GetPos();
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(bar.GetPos(), dragged);
    Mouse(QEvent::MouseButtonRelease, 89);
    for (int i = 0; i < 20; ++i) {
        bar.grab();
        QCoreApplication::processEvents();
    }
    done = true;
    feeder.join();
}
