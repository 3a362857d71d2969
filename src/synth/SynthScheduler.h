#pragma once

#include "clock/Clock.h"
#include "synth/TimedMessageQueue.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>

class FluidSynthCore;

// Places timed messages into the synthesizer's output at the frame of their time. FluidSynth
// takes an event into account at the start of its next 64-frame block, so a message is applied
// just before the block boundary nearest to its frame: at most half a block (0.73 ms) off.
class SynthScheduler {
public:
    static constexpr std::size_t kCapacity = 16384;
    static constexpr std::size_t kLongSlots = 64;

    SynthScheduler(FluidSynthCore& synth, TimedMessageQueue::Growth growth);

    // The sending side: one thread at a time. Same results as TimedMessageQueue::Push.
    int Push(TimedMessageQueue::Kind kind, const std::uint8_t* bytes, std::size_t length,
             MonoTime at) {
        return m_queue.Push(kind, bytes, length, at);
    }
    // As Push, but a full queue is waited on for up to `giveUp` while the rendering side takes
    // from it. A message still refused then is counted in Dropped.
    int PushWaiting(TimedMessageQueue::Kind kind, const std::uint8_t* bytes, std::size_t length,
                    MonoTime at, std::chrono::milliseconds giveUp);
    std::uint64_t Dropped() const noexcept { return m_dropped.load(std::memory_order_relaxed); }
    std::size_t Pending() const { return m_queue.Size(); }

    // The rendering side: one thread at a time, never waiting for the sending side. Renders the
    // next `frames` frames, the first of which sounds at `firstFrameTime`, delivering every message
    // whose time falls before the end of that stretch.
    void Render(float* left, float* right, int frames, MonoTime firstFrameTime);

private:
    // The synthesizer frame (counted since it was made) at which a message at `at` applies.
    std::int64_t BoundaryFrame(MonoTime at, MonoTime firstFrameTime, std::int64_t firstFrame) const;
    void Deliver(const TimedMessageQueue::View& message);

    FluidSynthCore& m_synth;
    TimedMessageQueue m_queue;
    std::atomic<std::uint64_t> m_dropped{0};
};
