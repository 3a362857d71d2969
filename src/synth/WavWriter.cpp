#include "synth/WavWriter.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

void PutLe16(std::uint8_t* out, std::uint16_t value) {
    out[0] = static_cast<std::uint8_t>(value);
    out[1] = static_cast<std::uint8_t>(value >> 8);
}

void PutLe32(std::uint8_t* out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

constexpr int kChannels = 2;
constexpr int kBytesPerSample = 2;

} // namespace

WavWriter::~WavWriter() {
    Close();
}

bool WavWriter::Open(const std::string& path) {
    Close();
    m_file.reset(std::fopen(path.c_str(), "wb"));
    m_frames = 0;
    m_clipped = 0;
    m_failed = !m_file || !WriteHeader(0);
    return !m_failed;
}

bool WavWriter::WriteHeader(std::uint32_t dataBytes) {
    std::uint8_t header[44];
    std::copy_n("RIFF", 4, header);
    PutLe32(header + 4, 36 + dataBytes);
    std::copy_n("WAVEfmt ", 8, header + 8);
    PutLe32(header + 16, 16);
    PutLe16(header + 20, 1); // PCM
    PutLe16(header + 22, kChannels);
    PutLe32(header + 24, static_cast<std::uint32_t>(m_sampleRate));
    PutLe32(header + 28, static_cast<std::uint32_t>(m_sampleRate * kChannels * kBytesPerSample));
    PutLe16(header + 32, kChannels * kBytesPerSample);
    PutLe16(header + 34, 8 * kBytesPerSample);
    std::copy_n("data", 4, header + 36);
    PutLe32(header + 40, dataBytes);
    return std::fwrite(header, sizeof header, 1, m_file.get()) == 1;
}

#if defined(__SSE2__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
// Four frames at a time, the same samples as the loop below: the conversion rounds as lrint
// does (the current rounding mode), a NaN becomes 0 as lrint's out-of-range result does once
// cut to 16 bits, and the values are in range, so the saturating pack changes none.
int WavWriter::WriteFourFrames(const float* left, const float* right, int frames,
                               std::uint8_t* out) {
    // Bits set in a four-bit mask; the builtin would be a library call on plain x86-64.
    static constexpr int kBitsSet[16] = {0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4};
    const __m128 one = _mm_set1_ps(1.0f);
    const __m128 minusOne = _mm_set1_ps(-1.0f);
    const __m128 scale = _mm_set1_ps(32767.0f);
    int i = 0;
    for (; i + 4 <= frames; i += 4) {
        __m128i halves[2];
        int channel = 0;
        for (const float* samples : {left, right}) {
            __m128 x = _mm_loadu_ps(samples + i);
            const __m128 beyond = _mm_or_ps(_mm_cmpgt_ps(x, one), _mm_cmplt_ps(x, minusOne));
            m_clipped += kBitsSet[_mm_movemask_ps(beyond)];
            x = _mm_and_ps(x, _mm_cmpord_ps(x, x));
            x = _mm_min_ps(_mm_max_ps(x, minusOne), one);
            halves[channel++] = _mm_cvtps_epi32(_mm_mul_ps(x, scale));
        }
        const __m128i low = _mm_unpacklo_epi32(halves[0], halves[1]);
        const __m128i high = _mm_unpackhi_epi32(halves[0], halves[1]);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_packs_epi32(low, high));
        out += 4 * kChannels * kBytesPerSample;
    }
    return i;
}
#else
int WavWriter::WriteFourFrames(const float*, const float*, int, std::uint8_t*) {
    return 0;
}
#endif

bool WavWriter::Write(const float* left, const float* right, int frames) {
    if (!m_file || m_failed)
        return false;
    m_buffer.resize(static_cast<std::size_t>(frames) * kChannels * kBytesPerSample);
    std::uint8_t* out = m_buffer.data();
    const int done = WriteFourFrames(left, right, frames, out);
    out += static_cast<std::size_t>(done) * kChannels * kBytesPerSample;
    for (int i = done; i < frames; ++i) {
        for (const float sample : {left[i], right[i]}) {
            float clamped = sample;
            if (clamped > 1.0f || clamped < -1.0f) {
                clamped = clamped > 0 ? 1.0f : -1.0f;
                ++m_clipped;
            }
            const auto value = static_cast<std::int16_t>(std::lrint(clamped * 32767.0f));
            PutLe16(out, static_cast<std::uint16_t>(value));
            out += kBytesPerSample;
        }
    }
    if (std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file.get()) != m_buffer.size())
        m_failed = true;
    m_frames += frames;
    return !m_failed;
}

bool WavWriter::Close() {
    if (!m_file)
        return !m_failed;
    const std::int64_t dataBytes = m_frames * kChannels * kBytesPerSample;
    // A RIFF file cannot describe more than 4 GiB; longer output is refused, not mislabelled.
    if (dataBytes > 0xFFFFFFFFll - 36)
        m_failed = true;
    if (!m_failed) {
        m_failed = std::fseek(m_file.get(), 0, SEEK_SET) != 0 ||
                   !WriteHeader(static_cast<std::uint32_t>(dataBytes));
    }
    if (std::fflush(m_file.get()) != 0)
        m_failed = true;
    m_file.reset();
    return !m_failed;
}
