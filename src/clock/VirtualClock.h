#pragma once

#include "clock/Clock.h"

#include <atomic>

// A clock that moves only when told to: drives the engine in tests and in offline rendering.
// It may be read from any thread while one thread advances it.
class VirtualClock final : public Clock {
public:
    // Starts at `start`; the default start is a full second past the epoch so that times a
    // little before "now" stay positive.
    explicit VirtualClock(MonoTime start = MonoTime(std::chrono::seconds(1))) noexcept;

    MonoTime Now() const noexcept override;

    void Advance(std::chrono::nanoseconds step) noexcept;
    void Set(MonoTime time) noexcept;

private:
    std::atomic<std::int64_t> m_nanoseconds;
};
