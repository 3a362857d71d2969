#pragma once

#include <chrono>

// How long, on average, a change takes to reach the screen once it is due: half the drawing
// threads' 10 ms cycle and half the 16 ms frame in which their pictures are painted. A meter's
// rise counts from its note's due time; a lyric becomes due only at the engine's 15 ms tick, so
// the wipe waits half of that too. The displays start that much before the sound is heard so
// that they are seen with it.
inline constexpr std::chrono::milliseconds kMeterLag{13};
inline constexpr std::chrono::milliseconds kDisplayLag{20};

// The wait before the meters show what the output plays, `latency` after it was due.
inline std::chrono::microseconds DisplayDelay(std::chrono::microseconds latency) {
    return latency > kMeterLag ? latency - kMeterLag : std::chrono::microseconds(0);
}
