#include "synth/SynthScheduler.h"
#include "core/MidiOutError.h"
#include "synth/FluidSynthCore.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using Kind = TimedMessageQueue::Kind;

namespace {

const MonoTime t0(1s);
const std::uint8_t kGmOn[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};

// No SoundFont is needed: an empty synthesizer renders silence and takes every message.
void FillLongSlots(SynthScheduler& scheduler) {
    for (std::size_t i = 0; i < SynthScheduler::kLongSlots; ++i)
        ASSERT_EQ(scheduler.Push(Kind::Long, kGmOn, sizeof kGmOn, t0), MIDIOUT_OK);
}

} // namespace

// A message that never finds room is reported and counted, and what is queued stays.
TEST(SynthScheduler, AQueueThatStaysFullCountsWhatItRefuses) {
    FluidSynthCore synth;
    SynthScheduler scheduler(synth, TimedMessageQueue::Growth::Fixed);
    FillLongSlots(scheduler);
    EXPECT_EQ(scheduler.PushWaiting(Kind::Long, kGmOn, sizeof kGmOn, t0, 10ms),
              MIDIOUT_STILLPLAYING);
    EXPECT_EQ(scheduler.Dropped(), 1u);
    EXPECT_EQ(scheduler.Pending(), SynthScheduler::kLongSlots);
}

// The audio side renders while the sender waits on a full queue; the wait ends as it takes.
TEST(SynthSchedulerThreads, ASenderWaitingOnAFullQueueGoesOnAsTheAudioSideRenders) {
    FluidSynthCore synth;
    SynthScheduler scheduler(synth, TimedMessageQueue::Growth::Fixed);
    FillLongSlots(scheduler);
    std::atomic<bool> stop{false};
    std::thread audio([&] {
        std::vector<float> left(256), right(256);
        std::this_thread::sleep_for(20ms);
        while (!stop.load())
            scheduler.Render(left.data(), right.data(), 256, t0);
    });
    const int result = scheduler.PushWaiting(Kind::Long, kGmOn, sizeof kGmOn, t0, 2s);
    for (int i = 0; i < 400 && scheduler.Pending() > 0; ++i)
        std::this_thread::sleep_for(5ms);
    stop = true;
    audio.join();
    EXPECT_EQ(result, MIDIOUT_OK);
    EXPECT_EQ(scheduler.Dropped(), 0u);
    EXPECT_EQ(scheduler.Pending(), 0u);
    EXPECT_GT(synth.FramesRendered(), 0);
}
