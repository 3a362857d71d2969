#include "controls/CrossThreadWakeup.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <thread>

TEST(CrossThreadWakeupThreads, PostsFromWorkersRunOnceOnTheGuiThread) {
    int runs = 0;
    int value = 0;
    int seen = 0;
    QThread* ranOn = nullptr;
    CrossThreadWakeup wakeup([&] {
        ++runs;
        seen = value;
        ranOn = QThread::currentThread();
    });
    std::thread worker([&] {
        value = 42; // published by the post that follows
        for (int i = 0; i < 100; ++i)
            wakeup.Post();
    });
    worker.join();
    QElapsedTimer timer;
    timer.start();
    while (runs == 0 && timer.elapsed() < 2000)
        QCoreApplication::processEvents();
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(seen, 42);
    EXPECT_EQ(ranOn, QCoreApplication::instance()->thread());
}
