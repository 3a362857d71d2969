#include "clock/ManualTimer.h"

bool ManualTimer::Start(std::chrono::nanoseconds period, Callback callback) {
    if (m_running || !callback || period <= std::chrono::nanoseconds::zero())
        return false;
    m_period = period;
    m_callback = std::move(callback);
    m_running = true;
    return true;
}

void ManualTimer::Stop() {
    m_running = false;
}

bool ManualTimer::Fire() {
    if (!m_running)
        return false;
    m_callback();
    return true;
}
