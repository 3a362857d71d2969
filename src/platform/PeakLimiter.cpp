#include "platform/PeakLimiter.h"

#include <algorithm>
#include <cmath>

PeakLimiter::PeakLimiter(int sampleRate) noexcept
    : m_release(1.0f - std::exp(-1.0f / (kReleaseSeconds * static_cast<float>(sampleRate)))) {}

void PeakLimiter::Process(float* left, float* right, int frames) noexcept {
    for (int i = 0; i < frames; ++i) {
        const float peak = std::max(std::fabs(left[i]), std::fabs(right[i]));
        const float allowed = peak > kCeiling ? kCeiling / peak : 1.0f;
        m_gain = std::min(m_gain + (1.0f - m_gain) * m_release, allowed);
        if (m_gain < 1.0f) {
            left[i] *= m_gain;
            right[i] *= m_gain;
        }
    }
}
