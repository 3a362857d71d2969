#pragma once

#include <chrono>
#include <functional>

// Calls a function once per period until stopped. The engine's tick runs on it: a thread in
// real playback (PeriodicTimer), the test or the renderer itself under a virtual clock
// (ManualTimer).
class TickTimer {
public:
    using Callback = std::function<void()>;

    TickTimer() = default;
    virtual ~TickTimer() = default;
    TickTimer(const TickTimer&) = delete;
    TickTimer& operator=(const TickTimer&) = delete;

    // False when already running or when the timer cannot be started.
    virtual bool Start(std::chrono::nanoseconds period, Callback callback) = 0;
    // Returns only when no callback runs any more (a callback may stop its own timer: then the
    // thread ends right after it and is joined by the next Start, Stop or the destructor).
    virtual void Stop() = 0;
    virtual bool IsRunning() const = 0;
};
