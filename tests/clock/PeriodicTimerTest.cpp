#include "clock/PeriodicTimer.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

using namespace std::chrono_literals;

namespace {

// Waits (generously) until `done` holds; machines under sanitizers are slow.
template <class Done> bool WaitFor(Done done) {
    for (int i = 0; i < 2000 && !done(); ++i)
        std::this_thread::sleep_for(1ms);
    return done();
}

} // namespace

TEST(PeriodicTimerThreads, CallsRepeatedlyAndNeverAfterStopReturns) {
    PeriodicTimer timer;
    std::atomic<int> calls{0};
    ASSERT_TRUE(timer.Start(2ms, [&] { calls.fetch_add(1); }));
    EXPECT_TRUE(timer.IsRunning());
    ASSERT_TRUE(WaitFor([&] { return calls.load() >= 3; }));
    timer.Stop();
    const int stopped = calls.load();
    std::this_thread::sleep_for(10ms);
    EXPECT_EQ(calls.load(), stopped);
    EXPECT_FALSE(timer.IsRunning());
    EXPECT_EQ(timer.Calls(), static_cast<std::uint64_t>(stopped));
}

TEST(PeriodicTimerThreads, RefusesBadArgumentsAndASecondStart) {
    PeriodicTimer timer;
    EXPECT_FALSE(timer.Start(0ms, [] {}));
    EXPECT_FALSE(timer.Start(1ms, nullptr));
    ASSERT_TRUE(timer.Start(1h, [] {}));
    EXPECT_FALSE(timer.Start(1ms, [] {}));
    timer.Stop(); // wakes the sleeping thread at once rather than after an hour
    EXPECT_FALSE(timer.IsRunning());
}

TEST(PeriodicTimerThreads, ACallbackMayStopItsOwnTimerAndItCanStartAgain) {
    PeriodicTimer timer;
    std::atomic<int> calls{0};
    ASSERT_TRUE(timer.Start(1ms, [&] {
        calls.fetch_add(1);
        timer.Stop();
    }));
    ASSERT_TRUE(WaitFor([&] { return !timer.IsRunning(); }));
    EXPECT_EQ(calls.load(), 1);
    ASSERT_TRUE(timer.Start(1ms, [&] { calls.fetch_add(1); }));
    ASSERT_TRUE(WaitFor([&] { return calls.load() >= 3; }));
    timer.Stop();
}

// Deadlines lie on a fixed grid: a call that overruns its period makes the timer skip the
// deadlines already past instead of sleeping a full period from the late end (drift) or
// firing back to back to catch up.
TEST(PeriodicTimerThreads, SkipsDeadlinesThatAnOverlongCallMissed) {
    PeriodicTimer timer;
    std::atomic<int> calls{0};
    ASSERT_TRUE(timer.Start(2ms, [&] {
        calls.fetch_add(1);
        std::this_thread::sleep_for(5ms);
    }));
    ASSERT_TRUE(WaitFor([&] { return calls.load() >= 4; }));
    timer.Stop();
    EXPECT_GE(timer.SkippedDeadlines(), timer.Calls() - 1);
}
