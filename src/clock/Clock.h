#pragma once

#include <chrono>
#include <cstdint>

// A point on the monotonic clock. Virtual clocks hand out points on the same scale so that due
// times can be compared and subtracted whichever clock produced them.
using MonoTime = std::chrono::steady_clock::time_point;

// The time source of the player: the system's monotonic clock while playing for real, a
// virtual clock in tests and in offline rendering.
class Clock {
public:
    virtual ~Clock() = default;

    virtual MonoTime Now() const noexcept = 0;

    // The 32-bit millisecond counter the tick measures elapsed time with (wraps after ~49 days).
    std::uint32_t Milliseconds() const noexcept;
};

// Microseconds from `from` to `to` (negative when `to` is earlier).
std::int64_t MicrosecondsBetween(MonoTime from, MonoTime to) noexcept;
