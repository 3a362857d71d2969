#pragma once

#include "clock/TickTimer.h"

#include <chrono>

// A timer that runs its callback only when Fire is called: the test (or the offline renderer)
// advances its virtual clock by Period() and fires.
class ManualTimer final : public TickTimer {
public:
    bool Start(std::chrono::nanoseconds period, Callback callback) override;
    void Stop() override;
    bool IsRunning() const override { return m_running; }

    // Runs the callback once if started; false otherwise.
    bool Fire();
    std::chrono::nanoseconds Period() const noexcept { return m_period; }

private:
    Callback m_callback;
    std::chrono::nanoseconds m_period{0};
    bool m_running = false;
};
