#include "clock/ManualTimer.h"
#include "clock/SystemClock.h"
#include "clock/VirtualClock.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

TEST(VirtualClock, MovesOnlyWhenTold) {
    VirtualClock clock;
    const MonoTime start = clock.Now();
    EXPECT_EQ(clock.Now(), start);
    clock.Advance(15ms);
    EXPECT_EQ(MicrosecondsBetween(start, clock.Now()), 15000);
    clock.Set(start + 1s);
    EXPECT_EQ(MicrosecondsBetween(start, clock.Now()), 1'000'000);
    EXPECT_EQ(MicrosecondsBetween(clock.Now(), start), -1'000'000);
}

TEST(VirtualClock, MillisecondsWrapAt32BitsLikeThePlatformCounter) {
    VirtualClock clock(MonoTime(std::chrono::milliseconds(0xFFFFFFFFll)));
    EXPECT_EQ(clock.Milliseconds(), 0xFFFFFFFFu);
    clock.Advance(6ms);
    EXPECT_EQ(clock.Milliseconds(), 5u);
    // The tick's unsigned difference stays right across the wrap.
    EXPECT_EQ(clock.Milliseconds() - 0xFFFFFFFFu, 6u);
}

TEST(SystemClock, TimeGetTimeCountsMillisecondsOfTheMonotonicClock) {
    const std::uint32_t before = timeGetTime();
    const auto steady = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now().time_since_epoch())
                            .count();
    const std::uint32_t after = timeGetTime();
    EXPECT_LE(before, static_cast<std::uint32_t>(steady));
    EXPECT_GE(after, static_cast<std::uint32_t>(steady));
}

TEST(ManualTimer, FiresOnlyWhileStarted) {
    ManualTimer timer;
    int calls = 0;
    EXPECT_FALSE(timer.Fire());
    EXPECT_FALSE(timer.Start(0ms, [&] { ++calls; }));
    ASSERT_TRUE(timer.Start(15ms, [&] { ++calls; }));
    EXPECT_FALSE(timer.Start(15ms, [&] { calls += 100; }));
    EXPECT_EQ(timer.Period(), 15ms);
    EXPECT_TRUE(timer.Fire());
    EXPECT_TRUE(timer.Fire());
    timer.Stop();
    EXPECT_FALSE(timer.Fire());
    EXPECT_EQ(calls, 2);
}
