#include "clock/Clock.h"

std::uint32_t Clock::Milliseconds() const noexcept {
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(Now().time_since_epoch()).count();
    return static_cast<std::uint32_t>(ms);
}

std::int64_t MicrosecondsBetween(MonoTime from, MonoTime to) noexcept {
    return std::chrono::duration_cast<std::chrono::microseconds>(to - from).count();
}
