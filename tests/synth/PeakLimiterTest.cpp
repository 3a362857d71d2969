#include "synth/PeakLimiter.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr int kRate = 44100;

std::vector<float> Sine(float amplitude, int frames) {
    std::vector<float> samples(static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i)
        samples[static_cast<std::size_t>(i)] = amplitude * std::sin(0.05f * static_cast<float>(i));
    return samples;
}

float Peak(const std::vector<float>& samples) {
    float peak = 0;
    for (float s : samples)
        peak = std::max(peak, std::fabs(s));
    return peak;
}

} // namespace

TEST(PeakLimiter, QuietSignalsPassUntouched) {
    PeakLimiter limiter(kRate);
    std::vector<float> left = Sine(0.9f, kRate);
    std::vector<float> right = Sine(-0.5f, kRate);
    const std::vector<float> original = left;
    limiter.Process(left.data(), right.data(), kRate);
    EXPECT_EQ(left, original);
}

TEST(PeakLimiter, LoudPeaksStayBelowTheCeilingOnBothSides) {
    PeakLimiter limiter(kRate);
    std::vector<float> left = Sine(0.2f, kRate);
    std::vector<float> right = Sine(3.0f, kRate); // one loud side holds both back
    limiter.Process(left.data(), right.data(), kRate);
    EXPECT_LE(Peak(right), PeakLimiter::kCeiling + 1e-6f);
    EXPECT_LT(Peak(left), 0.2f * PeakLimiter::kCeiling / 2.0f);
}

TEST(PeakLimiter, GainComesBackAfterTheLoudPassage) {
    PeakLimiter limiter(kRate);
    std::vector<float> loud = Sine(2.0f, kRate / 10);
    std::vector<float> copy = loud;
    limiter.Process(loud.data(), copy.data(), kRate / 10);
    EXPECT_LT(limiter.Gain(), 0.5f);
    // Two seconds of a quiet signal, processed in the pieces an audio driver asks for.
    std::vector<float> quiet = Sine(0.3f, 2 * kRate);
    std::vector<float> quietRight = quiet;
    for (int at = 0; at < 2 * kRate; at += 512) {
        const int frames = std::min(512, 2 * kRate - at);
        limiter.Process(quiet.data() + at, quietRight.data() + at, frames);
    }
    EXPECT_GT(limiter.Gain(), 0.99f);
}
