#pragma once

#include "clock/AudioStream.h"

#include <array>

// Fills a server's interleaved stereo buffer from an AudioStream renderer, asking for pieces of
// at most kMaxFrames; each piece is told when its own first frame is heard. Audio thread only,
// and allocates nothing.
class StereoInterleaver {
public:
    void SetRenderer(AudioStream::RenderFunction render, void* data, int sampleRate) noexcept;
    int SampleRate() const noexcept { return m_sampleRate; }

    // `heard` as AudioStream says, for the first of `frames` frames written to `out`.
    void Render(float* out, int frames, MonoTime heard);

private:
    AudioStream::RenderFunction m_render = nullptr;
    void* m_data = nullptr;
    int m_sampleRate = 0;
    std::array<float, AudioStream::kMaxFrames> m_left{};
    std::array<float, AudioStream::kMaxFrames> m_right{};
};
