#include "platform/AudioStreamClock.h"

#include <algorithm>

std::chrono::nanoseconds AudioStreamClock::Duration(std::int64_t frames) const noexcept {
    return std::chrono::nanoseconds(frames * 1000000000 / m_sampleRate);
}

MonoTime AudioStreamClock::Label(MonoTime now, int frames) {
    if (!m_started) {
        m_start = now;
        m_frames = 0;
        m_started = true;
    }
    const MonoTime label = m_start + Duration(m_frames);
    if (now > label)
        m_start += now - label;
    else
        m_start -= std::min<std::chrono::nanoseconds>(Duration(frames) / 1000, label - now);
    const MonoTime first = m_start + Duration(m_frames);
    m_frames += frames;
    return first;
}
