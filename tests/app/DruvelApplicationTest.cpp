#include "app/DruvelApplication.h"

#include "fixtures/ReportRecorder.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

int argc = 1;
char arg0[] = "test_app";
char* argv[] = {arg0, nullptr};

// Throws from inside an event handler, as a failing command would.
class ThrowingObject : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User)
            throw CLSError(6, "MAIN", 42);
        return QObject::event(e);
    }
};

TEST(DruvelApplication, ErrorInsideAHandlerEndsTheLoopAndIsShownOnce) {
    ReportRecorder recorder;
    DruvelApplication app(argc, argv);
    ThrowingObject target;
    int laterHandlers = 0;
    const int code = app.Run([&] {
        QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
        // Queued behind the failing event: must not run once the program is ending.
        QTimer::singleShot(0, [&] { ++laterHandlers; });
        return true;
    });
    EXPECT_EQ(code, DruvelApplication::kErrorExitCode);
    EXPECT_TRUE(app.Failed());
    EXPECT_EQ(laterHandlers, 0);
    ASSERT_EQ(recorder.Reports().size(), 1u);
    EXPECT_EQ(recorder.Reports()[0].text, "再生できません。\n\nMAIN : 42行");
    EXPECT_EQ(recorder.Reports()[0].owner, nullptr);
}

TEST(DruvelApplication, ErrorDuringStartUpSkipsTheLoop) {
    ReportRecorder recorder;
    DruvelApplication app(argc, argv);
    bool looped = false;
    const int code = app.Run([&] {
        QTimer::singleShot(0, [&] { looped = true; });
        throw CLSError(7, "READLINE", 3);
        return true;
    });
    EXPECT_EQ(code, DruvelApplication::kErrorExitCode);
    EXPECT_TRUE(app.Failed());
    EXPECT_FALSE(looped);
    ASSERT_EQ(recorder.Reports().size(), 1u);
}

TEST(DruvelApplication, CleanRunReturnsTheLoopsCode) {
    ReportRecorder recorder;
    DruvelApplication app(argc, argv);
    EXPECT_EQ(app.Run([] {
        QTimer::singleShot(0, [] { QCoreApplication::exit(3); });
        return true;
    }),
              3);
    EXPECT_EQ(app.Run([] { return false; }), 0) << "no loop when start-up ends the program";
    EXPECT_FALSE(app.Failed());
    EXPECT_TRUE(recorder.Reports().empty());
}

} // namespace
