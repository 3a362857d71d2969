#include "synth/PeakLimiter.h"

#include <algorithm>
#include <cmath>

PeakLimiter::PeakLimiter(int sampleRate) noexcept
    : m_release(1.0f - std::exp(-1.0f / (kReleaseSeconds * static_cast<float>(sampleRate)))) {}

void PeakLimiter::Process(float* left, float* right, int frames) noexcept {
    for (int i = 0; i < frames; ++i) {
        // A settled gain (full, or so close to it that a recovery step no longer moves it) stays
        // as long as the samples allow it: they are only scaled, without the step between them.
        if (m_gain + (1.0f - m_gain) * m_release == m_gain) {
            const float gain = m_gain;
            for (; i < frames; ++i) {
                const float peak = std::max(std::fabs(left[i]), std::fabs(right[i]));
                const float allowed = peak > kCeiling ? kCeiling / peak : 1.0f;
                if (allowed < gain)
                    break;
                if (gain < 1.0f) {
                    left[i] *= gain;
                    right[i] *= gain;
                }
            }
            if (i == frames)
                return;
        }
        const float peak = std::max(std::fabs(left[i]), std::fabs(right[i]));
        const float allowed = peak > kCeiling ? kCeiling / peak : 1.0f;
        m_gain = std::min(m_gain + (1.0f - m_gain) * m_release, allowed);
        if (m_gain < 1.0f) {
            left[i] *= m_gain;
            right[i] *= m_gain;
        }
    }
}
