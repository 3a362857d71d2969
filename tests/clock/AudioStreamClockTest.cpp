#include "clock/AudioStreamClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

using namespace std::chrono_literals;

namespace {

constexpr int kRate = 44100;
constexpr int kChunk = 1024;
constexpr double kChunkSeconds = double(kChunk) / kRate;
constexpr double kMargin = 0.005;

MonoTime At(double seconds) {
    return MonoTime(std::chrono::nanoseconds(std::llround(seconds * 1e9)));
}

double Seconds(MonoTime time) {
    return double(time.time_since_epoch().count()) / 1e9;
}

// A driver thread that renders a chunk, then blocks writing it until the sink's buffer has room,
// feeding a sink that plays from `sinkStart` on with its own clock (`cardPpm` off the system's)
// and takes frames in blocks of `sinkBlock`. When a chunk comes after its first frame was due,
// the sink waits for it and everything after is heard that much later.
struct StreamModel {
    double cardPpm = 0;
    int capacity = kChunk;
    int sinkBlock = 1;
    double sinkStart = 0.002;
    double renderTime = 0.0005;
    // Extra wake-up delay after the n-th write returns.
    std::function<double(int)> wake = [](int) { return 0.0; };

    struct Callback {
        double time;
        double label;
        double heard;
        bool settled;
    };

    std::vector<Callback> Run(AudioStreamClock& clock, double seconds) {
        const double rate = kRate * (1 + cardPpm * 1e-6);
        std::vector<Callback> calls;
        double now = 0;
        double start = sinkStart;
        std::int64_t frame = 0;
        for (int n = 0; now < seconds; ++n) {
            const double label = Seconds(clock.Label(At(now), kChunk));
            const double written = now + renderTime;
            if (written > start + frame / rate && start + frame / rate > sinkStart)
                start = written - frame / rate;
            calls.push_back({now, label, start + frame / rate, clock.Settled()});
            frame += kChunk;
            now = Room(frame, rate, start, written) + wake(n);
        }
        return calls;
    }

    // When the frames up to `end` fit into the buffer.
    double Room(std::int64_t end, double rate, double start, double earliest) const {
        const std::int64_t consumed = end - capacity;
        if (consumed <= 0)
            return earliest;
        const std::int64_t blocks = (consumed + sinkBlock - 1) / sinkBlock;
        return std::max(earliest, start + double(blocks * sinkBlock) / rate);
    }
};

struct Latency {
    double min = 1e9;
    double max = -1e9;
    double Spread() const { return max - min; }
};

// Heard minus label over the settled callbacks from `from` seconds on; also checks that no
// frame is labelled later than the callback that renders it.
Latency Measure(const std::vector<StreamModel::Callback>& calls, double from = 0) {
    Latency latency;
    for (const auto& call : calls) {
        if (!call.settled || call.time < from)
            continue;
        EXPECT_LE(call.label + kChunkSeconds, call.time + 1e-6) << "at " << call.time;
        latency.min = std::min(latency.min, call.heard - call.label);
        latency.max = std::max(latency.max, call.heard - call.label);
    }
    return latency;
}

// Wake-ups late by up to 8 ms, one in four on time.
std::function<double(int)> BusyMachine(unsigned seed) {
    auto random = std::make_shared<std::mt19937>(seed);
    return [random](int) { return (*random)() % 4 == 0 ? 0.0 : ((*random)() % 8000) * 1e-6; };
}

} // namespace

TEST(AudioStreamClock, LatencyStaysConstantThoughCallbacksComeLate) {
    AudioStreamClock clock(kRate);
    StreamModel model;
    model.wake = BusyMachine(1);
    const Latency latency = Measure(model.Run(clock, 30));
    EXPECT_LT(latency.Spread(), 0.0005);
    // What remains is the buffer, the chunk in hand and the margin.
    EXPECT_NEAR(latency.max, 2 * kChunkSeconds + kMargin, 0.001);
}

TEST(AudioStreamClock, SinkTakingFramesInLargeBlocks) {
    // Four callbacks in a row, then a long wait: a sound server with a large quantum.
    AudioStreamClock clock(kRate);
    StreamModel model;
    model.sinkBlock = 4 * kChunk;
    model.capacity = 5 * kChunk;
    model.wake = BusyMachine(2);
    const Latency latency = Measure(model.Run(clock, 30));
    EXPECT_LT(latency.Spread(), 0.0005);
}

TEST(AudioStreamClock, SettlesOnlyOnceTheSinkTakesFramesSteadily) {
    AudioStreamClock clock(kRate);
    EXPECT_FALSE(clock.Settled());
    // A sink that sleeps 1.4 s before it takes the first frames: the two chunks rendered before
    // must not make the line early by that much.
    StreamModel late;
    late.sinkStart = 1.4;
    const auto calls = late.Run(clock, 10);
    for (const auto& call : calls) {
        if (call.time < 1.4 + 0.15) {
            EXPECT_FALSE(call.settled) << call.time;
        }
    }
    EXPECT_TRUE(clock.Settled());
    const Latency afterStall = Measure(calls);

    AudioStreamClock reference(kRate);
    const Latency normal = Measure(StreamModel().Run(reference, 10));
    EXPECT_NEAR(afterStall.max, normal.max, 0.001);
    EXPECT_LT(afterStall.Spread(), 0.0005);

    clock.Restart();
    EXPECT_FALSE(clock.Settled());
}

TEST(AudioStreamClock, FollowsASoundCardWhoseClockDrifts) {
    // 300 ppm either way is 18 ms a minute: the labels must follow the card, without jumps and
    // never ahead of the rendering.
    for (const double ppm : {300.0, -300.0}) {
        SCOPED_TRACE(ppm);
        AudioStreamClock clock(kRate);
        StreamModel model;
        model.cardPpm = ppm;
        model.wake = BusyMachine(3);
        const auto calls = model.Run(clock, 60);
        EXPECT_LT(Measure(calls).Spread(), 0.001);
        double largestStep = 0;
        for (std::size_t i = 1; i < calls.size(); ++i) {
            const double step = calls[i].label - calls[i - 1].label - kChunkSeconds;
            if (calls[i].settled)
                largestStep = std::max(largestStep, std::abs(step));
        }
        EXPECT_LT(largestStep, 50e-6);
    }
}

TEST(AudioStreamClock, ReturnsToItsLatencyAfterAnUnderrun) {
    AudioStreamClock clock(kRate);
    StreamModel model;
    // One wake-up 80 ms late at about 10 s: the 23 ms buffer runs dry and the sink loses ~57 ms.
    model.wake = [](int n) { return n == 430 ? 0.080 : 0.0; };
    const auto calls = model.Run(clock, 20);
    const Latency before = Measure(std::vector(calls.begin(), calls.begin() + 430));
    const Latency after = Measure(calls, calls[430].time + 1.0);
    EXPECT_LT(before.Spread(), 0.0005);
    EXPECT_LT(after.Spread(), 0.0005);
    EXPECT_NEAR(after.max, before.max, 0.001);
}
