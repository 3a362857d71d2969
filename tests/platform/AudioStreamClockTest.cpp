#include "platform/AudioStreamClock.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

constexpr int kRate = 48000;
constexpr int kFrames = 480; // 10 ms
const MonoTime t0(10s);

} // namespace

TEST(AudioStreamClock, LabelsFramesByTheirCountWhileTheDriverFillsItsBuffer) {
    AudioStreamClock clock(kRate);
    EXPECT_EQ(clock.Label(t0, kFrames), t0);
    // Three callbacks at once: the frames still follow each other 10 ms apart (less the ease).
    const MonoTime second = clock.Label(t0, kFrames);
    const MonoTime third = clock.Label(t0, kFrames);
    EXPECT_NEAR(double((second - t0).count()), 10e6, 20e3);
    EXPECT_NEAR(double((third - t0).count()), 20e6, 40e3);
}

TEST(AudioStreamClock, NeverLabelsFramesInThePastAfterALateCallback) {
    AudioStreamClock clock(kRate);
    clock.Label(t0, kFrames);
    clock.Label(t0 + 10ms, kFrames);
    const MonoTime late = t0 + 45ms; // the system stalled
    EXPECT_EQ(clock.Label(late, kFrames), late);
    EXPECT_NEAR(double((clock.Label(late + 10ms, kFrames) - late).count()), 10e6, 20e3);
}

TEST(AudioStreamClock, FollowsASoundCardThatRunsFast) {
    AudioStreamClock clock(kRate);
    // The card asks for 10 ms of frames every 9.99 ms: 0.1 % fast. Without easing down, the
    // labels would run ahead of the callbacks by 10 ms within 100 s.
    MonoTime now = t0;
    MonoTime label{};
    for (int i = 0; i < 10000; ++i, now += 9990us)
        label = clock.Label(now, kFrames);
    EXPECT_LT(label - (now - 9990us), 2ms);
    EXPECT_GE(label - (now - 9990us), 0ms);
}
