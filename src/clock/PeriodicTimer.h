#pragma once

#include "clock/TickTimer.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

// A thread that calls its callback at start + k × period on the monotonic clock. Deadlines are
// absolute, so lateness of one call never shifts the next; a deadline already past when the
// previous call returns is skipped (the tick measures elapsed time itself).
class PeriodicTimer final : public TickTimer {
public:
    PeriodicTimer() = default;
    ~PeriodicTimer() override;

    bool Start(std::chrono::nanoseconds period, Callback callback) override;
    void Stop() override;
    bool IsRunning() const override;

    std::uint64_t Calls() const noexcept { return m_calls.load(std::memory_order_relaxed); }
    std::uint64_t SkippedDeadlines() const noexcept {
        return m_skipped.load(std::memory_order_relaxed);
    }

private:
    void Run(std::chrono::nanoseconds period);
    void Join();

    Callback m_callback;
    std::thread m_thread;
    mutable std::mutex m_mutex; // guards m_stopRequested for the condition variable
    std::condition_variable m_wake;
    bool m_stopRequested = false;
    std::atomic<bool> m_running{false};
    std::atomic<std::uint64_t> m_calls{0};
    std::atomic<std::uint64_t> m_skipped{0};
};
