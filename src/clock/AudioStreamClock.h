#pragma once

#include "clock/Clock.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>

// Tells, on the monotonic clock, which moment each frame of an audio stream stands for, so that
// a message for time T is rendered into the frame labelled T. Labels follow a steady line through
// the frame count, so equally spaced times always land equally many frames apart.
//
// A driver renders a chunk whenever its buffer has room, so the earliest callbacks ride a line
// the buffer's length ahead of the sound, and late ones (a busy system) fall behind it. The line
// is laid along the earliest callbacks of the last kWindow, less kMargin, and measured to the end
// of each chunk: every frame is labelled no later than the moment it is rendered, so a message
// pushed by its time is never late, and every frame is heard the same time after its label (the
// render-ahead plus the margin).
//
// The first chunks fill the empty buffer at once and say nothing of the line, nor does anything
// before a sink that is slow to start; the line is set over the first kSettle (at least
// kSettleCallbacks) of callbacks that had to wait for room. From then on it glides, at most
// kSlewPerSecond, to follow a sound card whose clock is a little fast or slow. Only a stream that
// has slipped (an underrun) or a callback earlier than its label moves it at once.
class AudioStreamClock {
public:
    static constexpr std::chrono::milliseconds kMargin{5};
    static constexpr std::chrono::milliseconds kSettle{150};
    static constexpr int kSettleCallbacks = 4;
    // A callback this much later than its chunk's length after the one before, while settling,
    // means the sink had not started taking frames.
    static constexpr std::chrono::milliseconds kStall{20};
    static constexpr std::chrono::milliseconds kWindow{1000};
    // When even the earliest callbacks of the last kWindow come this much later than the line,
    // the stream has slipped and the line follows at once; smaller changes glide.
    static constexpr std::chrono::milliseconds kSlip{10};
    static constexpr std::chrono::microseconds kSlewPerSecond{500};

    explicit AudioStreamClock(int sampleRate) : m_sampleRate(sampleRate) {}

    // Audio thread, once per callback, with the callback's time and the number of frames it
    // renders; returns the label of its first frame.
    MonoTime Label(MonoTime now, int frames);

    // Any thread: whether the line is set (a message pushed now finds its frame).
    bool Settled() const noexcept { return m_settled.load(std::memory_order_acquire); }

    // Before the stream starts again.
    void Restart() noexcept;

private:
    struct Sample {
        std::int64_t time;  // ns, when the callback came
        std::int64_t ahead; // ns, the callback's time less its chunk's end on the frame line
    };
    enum class Phase : std::uint8_t { Filling, Settling, Settled };

    std::int64_t Duration(std::int64_t frames) const noexcept;
    void StartRun(std::int64_t time) noexcept;
    void Remember(std::int64_t time, std::int64_t ahead) noexcept;
    std::int64_t EarliestInWindow() const noexcept;
    void Settle(std::int64_t time) noexcept;
    void Glide(std::int64_t gap, std::int64_t ahead) noexcept;

    int m_sampleRate;
    std::atomic<bool> m_settled{false};
    bool m_started = false;
    Phase m_phase = Phase::Filling;
    std::int64_t m_frames = 0;
    std::int64_t m_previous = 0;
    std::int64_t m_previousChunk = 0;
    std::int64_t m_runStart = 0;
    int m_runCallbacks = 0;
    // label(frame) = m_line + Duration(frame)
    std::int64_t m_line = 0;
    std::array<Sample, 1024> m_window{};
    std::size_t m_windowStart = 0;
    std::size_t m_windowCount = 0;
};
