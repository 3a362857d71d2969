// The pacer that shows the drawing threads' work at one frame rate.
#include "controls/RepaintPacer.h"
#include "PaintCounter.h"
#include "controls/RepaintRequest.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <utility>

namespace {

constexpr int kFrames = 4 * RepaintPacer::kFrameMs;

// A shown widget with an area noted as drawn, taken by the pacer.
struct Display {
    Display() {
        widget.resize(100, 50);
        widget.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&widget));
        QTest::qWait(kFrames); // the paints of showing
        counter = std::make_unique<PaintCounter>(widget);
    }
    QRect Take() {
        ++taken;
        return std::exchange(dirty, QRect());
    }

    QWidget widget;
    std::unique_ptr<PaintCounter> counter;
    QRect dirty;
    int taken = 0;
};

TEST(RepaintPacer, ShowsEveryAttachedDisplaysDrawingAtItsFrames) {
    Display a;
    Display b;
    RepaintPacer& pacer = RepaintPacer::Instance();
    pacer.Attach(&a.widget, [&] { return a.Take(); });
    pacer.Attach(&b.widget, [&] { return b.Take(); });
    a.dirty = QRect(10, 10, 5, 5);
    b.dirty = QRect(0, 0, 20, 20);
    QTest::qWait(kFrames);
    EXPECT_GE(a.counter->count, 1);
    EXPECT_EQ(a.counter->painted.boundingRect(), QRect(10, 10, 5, 5)); // only what was drawn
    EXPECT_GE(b.counter->count, 1);
    // Nothing noted: frames go by without a paint.
    const int painted = a.counter->count;
    QTest::qWait(kFrames);
    EXPECT_EQ(a.counter->count, painted);
    pacer.Detach(&a.widget);
    pacer.Detach(&b.widget);
}

TEST(RepaintPacer, DetachShowsWhatIsLeftAndStopsTaking) {
    Display a;
    RepaintPacer& pacer = RepaintPacer::Instance();
    pacer.Attach(&a.widget, [&] { return a.Take(); });
    a.dirty = QRect(1, 1, 3, 3);
    pacer.Detach(&a.widget); // before any frame: the last drawing must still be shown
    EXPECT_FALSE(pacer.IsAttached(&a.widget));
    QTest::qWait(kFrames);
    EXPECT_GE(a.counter->count, 1);
    const int taken = a.taken;
    a.dirty = QRect(1, 1, 3, 3);
    QTest::qWait(kFrames);
    EXPECT_EQ(a.taken, taken);
}

TEST(RepaintPacer, AWidgetDestroyedWhileAttachedIsDroppedUnasked) {
    int taken = 0;
    auto widget = std::make_unique<QWidget>();
    RepaintPacer::Instance().Attach(widget.get(), [&] {
        ++taken;
        return QRect();
    });
    widget.reset();
    taken = 0;
    QTest::qWait(kFrames); // must not ask a display whose widget is gone
    EXPECT_EQ(taken, 0);
}

// A thread's request rides the frames while they run, and still arrives when they stop first.
TEST(RepaintPacer, RequestsFromOtherThreadsAreServedWhetherFramesRunOrNot) {
    Display meters;
    Display bar;
    RepaintRequest request(&bar.widget);
    const auto postFromAThread = [&] { std::thread([&] { request.Post(); }).join(); };
    RepaintPacer& pacer = RepaintPacer::Instance();

    pacer.Attach(&meters.widget, [&] { return meters.Take(); });
    ASSERT_TRUE(RepaintPacer::Pacing());
    postFromAThread();
    QTest::qWait(kFrames);
    EXPECT_EQ(bar.counter->count, 1);

    postFromAThread(); // pending when the last display goes
    pacer.Detach(&meters.widget);
    EXPECT_FALSE(RepaintPacer::Pacing());
    QTest::qWait(kFrames);
    EXPECT_EQ(bar.counter->count, 2);

    postFromAThread(); // no frames: the GUI thread is woken for it
    QTest::qWait(kFrames);
    EXPECT_EQ(bar.counter->count, 3);
    QTest::qWait(kFrames);
    EXPECT_EQ(bar.counter->count, 3); // served once
}

} // namespace
