#pragma once

#include "platform/Clock.h"

#include <cstdint>

// Tells when the frames an audio callback renders will sound, on the monotonic clock.
// Callbacks come in bursts while a driver fills its buffer and late when the system is busy,
// so a callback's own time is a poor label for its frames. The label follows the count of
// frames instead: pulled up at once when a callback comes later than its label (frames must
// never be labelled in the past, where messages for them would already be late) and eased
// down by a thousandth of the stream's duration otherwise (never below the callback time), so
// that it rides the upper edge of the callback times and follows a sound card whose clock runs
// slightly fast.
class AudioStreamClock {
public:
    explicit AudioStreamClock(int sampleRate) : m_sampleRate(sampleRate) {}

    // Called once per callback, with the callback's time and the number of frames it renders;
    // returns the label of its first frame.
    MonoTime Label(MonoTime now, int frames);

    void Restart() noexcept { m_started = false; }

private:
    std::chrono::nanoseconds Duration(std::int64_t frames) const noexcept;

    int m_sampleRate;
    bool m_started = false;
    MonoTime m_start{};
    std::int64_t m_frames = 0;
};
