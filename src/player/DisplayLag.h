#pragma once

#include <chrono>

// How long, on average, a change due at the engine's tick takes to reach the screen: half the
// engine's 15 ms tick, half the drawing threads' 10 ms cycle and half the 16 ms frame in which
// their pictures are painted. The meters and the wipe start that much before the sound is heard
// so that they are seen with it.
inline constexpr std::chrono::milliseconds kDisplayLag{20};

// The wait before a display shows what the output plays, `latency` after it was sent.
inline std::chrono::microseconds DisplayDelay(std::chrono::microseconds latency) {
    return latency > kDisplayLag ? latency - kDisplayLag : std::chrono::microseconds(0);
}
