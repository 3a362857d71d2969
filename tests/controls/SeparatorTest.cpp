#include "controls/CLSWndSeparator.h"
#include "controls/SeparatorGeometry.h"

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

TEST(SeparatorGeometry, BarIsCentredOnItsLine) {
    using SeparatorGeometry::Rect;
    EXPECT_EQ(SeparatorGeometry::BarRect(false, 100, 7, 10, 210), (Rect{97, 10, 7, 200}));
    EXPECT_EQ(SeparatorGeometry::BarRect(true, 100, 7, 10, 210), (Rect{10, 97, 200, 7}));
    EXPECT_EQ(SeparatorGeometry::ClampCentre(5, 10, 20), 10);
    EXPECT_EQ(SeparatorGeometry::ClampCentre(25, 10, 20), 20);
    // Crossed limits: the far edge wins.
    EXPECT_EQ(SeparatorGeometry::ClampCentre(5, 30, 20), 20);
}

namespace {

class SeparatorWidget : public ::testing::Test {
protected:
    void SetUp() override {
        parent.resize(800, 600);
        bar.Create(&parent, 1028);
        bar.SetExtent(0, 600);
        bar.SetLimits(100, 500);
        bar.SetPosition(300);
        QObject::connect(&bar, &CLSWndSeparator::LayoutRequested, [this](QSize size) {
            EXPECT_EQ(size, QSize(800, 600));
            ++layouts;
        });
    }

    // Moves carry the left button held, as during a real drag.
    void Mouse(QEvent::Type type, Qt::MouseButton button, int parentX) {
        const QPointF local(parentX - bar.x(), 10);
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton
                                      : type == QEvent::MouseMove        ? Qt::LeftButton
                                                                         : button;
        QMouseEvent event(type, local, bar.mapToGlobal(local), button, held, Qt::NoModifier);
        QApplication::sendEvent(&bar, &event);
    }

    QWidget parent;
    CLSWndSeparator bar;
    int layouts = 0;
};

} // namespace

TEST_F(SeparatorWidget, PlacedByCentreAndExtent) {
    EXPECT_EQ(bar.GetPosition(), 300);
    EXPECT_EQ(bar.geometry(), QRect(297, 0, 7, 600));
    bar.SetExtent(20, 400);
    EXPECT_EQ(bar.geometry(), QRect(297, 20, 7, 380));
}

TEST_F(SeparatorWidget, SetLimitsMovesTheBarInside) {
    bar.SetLimits(100, 250);
    EXPECT_EQ(bar.GetPosition(), 250);
    bar.SetLimits(280, 700);
    EXPECT_EQ(bar.GetPosition(), 280);
    EXPECT_EQ(layouts, 0);
}

TEST_F(SeparatorWidget, DragIsClampedAndAsksForLayoutOnlyOnChange) {
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, 300);
    Mouse(QEvent::MouseMove, Qt::NoButton, 350);
    EXPECT_EQ(bar.GetPosition(), 350);
    EXPECT_EQ(layouts, 1);
    Mouse(QEvent::MouseMove, Qt::NoButton, 650);
    EXPECT_EQ(bar.GetPosition(), 500);
    EXPECT_EQ(layouts, 2);
    Mouse(QEvent::MouseMove, Qt::NoButton, 700);
    EXPECT_EQ(bar.GetPosition(), 500);
    EXPECT_EQ(layouts, 2);
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, 700);
    Mouse(QEvent::MouseMove, Qt::NoButton, 200);
    EXPECT_EQ(bar.GetPosition(), 500);
}

TEST_F(SeparatorWidget, RightClickEndsTheDragWhereItIs) {
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, 300);
    Mouse(QEvent::MouseMove, Qt::NoButton, 400);
    Mouse(QEvent::MouseButtonPress, Qt::RightButton, 400);
    EXPECT_FALSE(bar.IsDragging());
    Mouse(QEvent::MouseMove, Qt::NoButton, 200);
    EXPECT_EQ(bar.GetPosition(), 400);
}

TEST_F(SeparatorWidget, HorizontalBarMovesUpAndDown) {
    bar.SetFlags(CLSWndSeparator::kHorizontal);
    bar.SetExtent(0, 800);
    bar.SetPosition(200);
    EXPECT_EQ(bar.geometry(), QRect(0, 197, 800, 7));
}
