#include "clock/VirtualClock.h"

VirtualClock::VirtualClock(MonoTime start) noexcept
    : m_nanoseconds(
          std::chrono::duration_cast<std::chrono::nanoseconds>(start.time_since_epoch()).count()) {}

MonoTime VirtualClock::Now() const noexcept {
    return MonoTime(std::chrono::nanoseconds(m_nanoseconds.load(std::memory_order_relaxed)));
}

void VirtualClock::Advance(std::chrono::nanoseconds step) noexcept {
    m_nanoseconds.fetch_add(step.count(), std::memory_order_relaxed);
}

void VirtualClock::Set(MonoTime time) noexcept {
    m_nanoseconds.store(
        std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count(),
        std::memory_order_relaxed);
}
