#include "clock/StereoInterleaver.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>

void StereoInterleaver::SetRenderer(AudioStream::RenderFunction render, void* data,
                                    int sampleRate) noexcept {
    m_render = render;
    m_data = data;
    m_sampleRate = sampleRate;
}

void StereoInterleaver::Render(float* out, int frames, MonoTime heard) {
    for (int done = 0; done < frames;) {
        const int piece = std::min(frames - done, AudioStream::kMaxFrames);
        const MonoTime pieceHeard =
            heard == MonoTime{}
                ? heard
                : heard + std::chrono::nanoseconds(std::int64_t{done} * 1000000000 / m_sampleRate);
        m_render(m_data, m_left.data(), m_right.data(), piece, pieceHeard);
        float* frame = out + std::ptrdiff_t{done} * 2;
        for (int i = 0; i < piece; ++i) {
            frame[2 * i] = m_left[static_cast<std::size_t>(i)];
            frame[2 * i + 1] = m_right[static_cast<std::size_t>(i)];
        }
        done += piece;
    }
}
