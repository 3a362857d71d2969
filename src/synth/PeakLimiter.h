#pragma once

// Keeps a stereo signal below a ceiling: a peak that would pass it lowers the gain at once, and
// the gain then recovers smoothly. Below the ceiling the signal passes untouched, so ordinary
// songs keep their level and only dense passages are held back instead of clipping.
// Allocation- and lock-free: it runs on the audio thread.
class PeakLimiter {
public:
    static constexpr float kCeiling = 0.944f; // -0.5 dBFS
    static constexpr float kReleaseSeconds = 0.25f;

    explicit PeakLimiter(int sampleRate) noexcept;

    void Process(float* left, float* right, int frames) noexcept;
    float Gain() const noexcept { return m_gain; }

private:
    float m_release;
    float m_gain = 1.0f;
};
