#include "clock/SystemClock.h"

const SystemClock& SystemClock::Instance() noexcept {
    static const SystemClock clock;
    return clock;
}

std::uint32_t timeGetTime() noexcept {
    return SystemClock::Instance().Milliseconds();
}
