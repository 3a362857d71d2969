#include "clock/PeriodicTimer.h"

#include <system_error>

namespace {

// The timer whose callback this thread is running, if any. Stop reads this rather than the
// thread object, which Start may still be assigning when the first callback runs.
thread_local const PeriodicTimer* t_runningTimer = nullptr;

} // namespace

PeriodicTimer::~PeriodicTimer() {
    Stop();
}

bool PeriodicTimer::Start(std::chrono::nanoseconds period, Callback callback) {
    if (period <= std::chrono::nanoseconds::zero() || !callback || m_running.load())
        return false;
    Join(); // a thread that stopped itself from its callback
    m_callback = std::move(callback);
    m_stopRequested = false;
    m_calls.store(0, std::memory_order_relaxed);
    m_skipped.store(0, std::memory_order_relaxed);
    m_running.store(true);
    try {
        m_thread = std::thread(&PeriodicTimer::Run, this, period);
    } catch (const std::system_error&) {
        m_running.store(false);
        return false;
    }
    return true;
}

void PeriodicTimer::Stop() {
    {
        std::lock_guard lock(m_mutex);
        m_stopRequested = true;
    }
    m_wake.notify_all();
    if (t_runningTimer == this)
        return;
    Join();
}

bool PeriodicTimer::IsRunning() const {
    return m_running.load();
}

void PeriodicTimer::Join() {
    if (m_thread.joinable())
        m_thread.join();
}

void PeriodicTimer::Run(std::chrono::nanoseconds period) {
    using Steady = std::chrono::steady_clock;
    t_runningTimer = this;
    const Steady::time_point start = Steady::now();
    std::int64_t k = 1;
    std::unique_lock lock(m_mutex);
    for (;;) {
        const Steady::time_point deadline = start + k * period;
        if (m_wake.wait_until(lock, deadline, [this] { return m_stopRequested; }))
            break;
        lock.unlock();
        m_callback();
        m_calls.fetch_add(1, std::memory_order_relaxed);
        lock.lock();
        const std::int64_t due = (Steady::now() - start) / period + 1;
        if (due > k + 1)
            m_skipped.fetch_add(static_cast<std::uint64_t>(due - k - 1), std::memory_order_relaxed);
        k = due > k + 1 ? due : k + 1;
    }
    m_running.store(false);
}
