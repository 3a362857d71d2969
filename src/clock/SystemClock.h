#pragma once

#include "clock/Clock.h"

// The system's monotonic clock.
class SystemClock final : public Clock {
public:
    MonoTime Now() const noexcept override { return std::chrono::steady_clock::now(); }

    // One shared instance: the clock carries no state.
    static const SystemClock& Instance() noexcept;
};

// Milliseconds of the monotonic clock, truncated to 32 bits: what the tick measures with.
std::uint32_t timeGetTime() noexcept;
