#include "clock/AudioStreamClock.h"

#include <algorithm>

namespace {

std::int64_t Ns(std::chrono::nanoseconds duration) {
    return duration.count();
}

} // namespace

std::int64_t AudioStreamClock::Duration(std::int64_t frames) const noexcept {
    return frames * 1000000000 / m_sampleRate;
}

void AudioStreamClock::Restart() noexcept {
    m_started = false;
    m_settled.store(false, std::memory_order_release);
}

MonoTime AudioStreamClock::Label(MonoTime now, int frames) {
    const std::int64_t time = Ns(now.time_since_epoch());
    if (!m_started) {
        m_started = true;
        m_phase = Phase::Filling;
        m_frames = 0;
        m_previous = time;
        m_previousChunk = 0;
        StartRun(time);
    }
    const std::int64_t gap = time - m_previous;
    m_previous = time;
    // The first callback that had to wait for room starts the line; while settling, a long
    // silence means the sink started only now.
    if ((m_phase == Phase::Filling && gap >= m_previousChunk / 2 && gap > 0) ||
        (m_phase == Phase::Settling && gap > m_previousChunk + Ns(kStall))) {
        m_phase = Phase::Settling;
        StartRun(time);
    }
    const std::int64_t end = Duration(m_frames + frames);
    m_previousChunk = end - Duration(m_frames);
    const std::int64_t ahead = time - end;
    Remember(time, ahead);
    if (m_phase == Phase::Settled)
        Glide(gap, ahead);
    else
        Settle(time);
    const std::int64_t label = m_line + Duration(m_frames);
    m_frames += frames;
    return MonoTime(std::chrono::nanoseconds(label));
}

void AudioStreamClock::StartRun(std::int64_t time) noexcept {
    m_runStart = time;
    m_runCallbacks = 0;
    m_windowCount = 0;
}

void AudioStreamClock::Settle(std::int64_t time) noexcept {
    m_line = EarliestInWindow() - Ns(kMargin);
    if (m_phase != Phase::Settling)
        return;
    ++m_runCallbacks;
    if (time - m_runStart >= Ns(kSettle) && m_runCallbacks >= kSettleCallbacks) {
        m_phase = Phase::Settled;
        m_settled.store(true, std::memory_order_release);
    }
}

void AudioStreamClock::Glide(std::int64_t gap, std::int64_t ahead) noexcept {
    const std::int64_t target = EarliestInWindow() - Ns(kMargin);
    if (target - m_line > Ns(kSlip)) {
        // Even the earliest callbacks come late by far: the sink lost time (an underrun), and
        // the frames from here on are heard that much later.
        m_line = target;
        return;
    }
    const std::int64_t step = gap * Ns(kSlewPerSecond) / 1000000000;
    m_line = std::clamp(target, m_line - step, m_line + step);
    // A frame labelled later than its rendering could miss a message still to come.
    m_line = std::min(m_line, ahead);
}

void AudioStreamClock::Remember(std::int64_t time, std::int64_t ahead) noexcept {
    const std::int64_t oldest = time - Ns(kWindow);
    while (m_windowCount > 0 && m_window[m_windowStart].time < oldest) {
        m_windowStart = (m_windowStart + 1) % m_window.size();
        --m_windowCount;
    }
    if (m_windowCount == m_window.size()) {
        m_windowStart = (m_windowStart + 1) % m_window.size();
        --m_windowCount;
    }
    m_window[(m_windowStart + m_windowCount) % m_window.size()] = Sample{time, ahead};
    ++m_windowCount;
}

std::int64_t AudioStreamClock::EarliestInWindow() const noexcept {
    std::int64_t earliest = m_window[m_windowStart].ahead;
    for (std::size_t i = 1; i < m_windowCount; ++i)
        earliest = std::min(earliest, m_window[(m_windowStart + i) % m_window.size()].ahead);
    return earliest;
}
