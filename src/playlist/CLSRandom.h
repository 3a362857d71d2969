#pragma once

#include <cstdint>

// The play order's pseudo-random numbers: a 32-bit linear congruential generator
// (state * 22695477 + 1), each number bits 16 to 30 of the new state (0..32767).
class CLSRandom {
public:
    explicit CLSRandom(std::uint32_t seed = 0) noexcept : m_state(seed) {}

    // Seeds once at start-up (with the millisecond tick count) and throws the first number away.
    void Seed(std::uint32_t seed) noexcept {
        m_state = seed;
        Next();
    }

    int Next() noexcept {
        m_state = m_state * 22695477u + 1u;
        return static_cast<int>((m_state >> 16) & 0x7FFF);
    }

private:
    std::uint32_t m_state;
};
