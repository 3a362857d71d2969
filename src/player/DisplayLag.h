#pragma once

#include <chrono>

// How long, on average, a change takes to reach the screen once it is due: half the drawing
// threads' 10 ms cycle and half the 16 ms frame in which their pictures are painted. (A meter's
// rise counts from its note's due time and a lyric is taken at its own, so the engine's tick
// adds nothing.) The meters and the wipe start that much before the sound is heard so that they
// are seen with it.
inline constexpr std::chrono::milliseconds kDisplayLag{13};

// The wait before a display shows what the output plays, `latency` after it was due.
inline std::chrono::microseconds DisplayDelay(std::chrono::microseconds latency) {
    return latency > kDisplayLag ? latency - kDisplayLag : std::chrono::microseconds(0);
}
