#pragma once

#include <chrono>
#include <optional>

// Asks the sound server this process plays through (PulseAudio, or PipeWire through
// pipewire-pulse) how long what this process's playback stream hands over takes to be heard:
// what the server still holds of the stream plus the sink's own latency. The least of a few
// readings: that is the level at which the synthesizer's driver hands over its next chunk.
// Empty when there is no such server or stream, or it does not answer at once.
class SynthServerLatency {
public:
    static std::optional<std::chrono::microseconds> Read();
};
