#include "synth/SynthScheduler.h"

#include "synth/FluidSynthCore.h"

#include "core/MidiOutError.h"

#include <algorithm>
#include <thread>

SynthScheduler::SynthScheduler(FluidSynthCore& synth, TimedMessageQueue::Growth growth)
    : m_synth(synth), m_queue(kCapacity, kLongSlots, growth) {}

std::int64_t SynthScheduler::BoundaryFrame(MonoTime at, MonoTime firstFrameTime,
                                           std::int64_t firstFrame) const {
    const std::int64_t ns =
        std::chrono::duration_cast<std::chrono::nanoseconds>(at - firstFrameTime).count();
    // Rounded to the nearest frame, then to the nearest block boundary.
    const std::int64_t offset =
        ns >= 0 ? (ns * FluidSynthCore::kSampleRate + 500000000) / 1000000000
                : -((-ns * FluidSynthCore::kSampleRate + 500000000) / 1000000000);
    const std::int64_t frame = firstFrame + offset;
    constexpr std::int64_t block = FluidSynthCore::kBlockFrames;
    if (frame <= 0)
        return 0;
    return (frame + block / 2) / block * block;
}

int SynthScheduler::PushWaiting(TimedMessageQueue::Kind kind, const std::uint8_t* bytes,
                                std::size_t length, MonoTime at, std::chrono::milliseconds giveUp) {
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        const int result = m_queue.Push(kind, bytes, length, at);
        if (result != MIDIOUT_NOTREADY && result != MIDIOUT_STILLPLAYING)
            return result;
        if (std::chrono::steady_clock::now() - start >= giveUp) {
            m_dropped.fetch_add(1, std::memory_order_relaxed);
            return result;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void SynthScheduler::Render(float* left, float* right, int frames, MonoTime firstFrameTime) {
    const std::int64_t first = m_synth.FramesRendered();
    const std::int64_t end = first + frames;
    for (;;) {
        const std::int64_t now = m_synth.FramesRendered();
        MonoTime at;
        std::int64_t boundary = end;
        if (m_queue.NextTime(at))
            boundary = BoundaryFrame(at, firstFrameTime, first);
        if (boundary <= now) {
            m_queue.TakeNext([this](const TimedMessageQueue::View& message) { Deliver(message); });
            continue;
        }
        const std::int64_t until = std::min(boundary, end);
        const auto done = static_cast<int>(now - first);
        m_synth.Render(left + done, right + done, static_cast<int>(until - now));
        if (until == end)
            return;
    }
}

void SynthScheduler::Deliver(const TimedMessageQueue::View& message) {
    switch (message.kind) {
    case TimedMessageQueue::Kind::Short:
        m_synth.SendShort(message.bytes, message.length);
        break;
    case TimedMessageQueue::Kind::Long:
        m_synth.SendExclusive(message.bytes, message.length);
        break;
    case TimedMessageQueue::Kind::Reset:
        m_synth.AllNotesOff();
        break;
    }
}
