#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// Writes 16-bit PCM stereo WAV files, streaming: the sizes in the header are filled in by
// Close. Samples are floats in −1..1; louder ones are clipped (and counted).
class WavWriter {
public:
    explicit WavWriter(int sampleRate = 44100) : m_sampleRate(sampleRate) {}
    ~WavWriter();
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    bool Open(const std::string& path);
    bool Write(const float* left, const float* right, int frames);
    // False when any write failed (a full disk shows here at the latest).
    bool Close();

    std::int64_t Frames() const noexcept { return m_frames; }
    std::int64_t ClippedSamples() const noexcept { return m_clipped; }

private:
    struct FileCloser {
        void operator()(std::FILE* file) const noexcept { std::fclose(file); }
    };

    bool WriteHeader(std::uint32_t dataBytes);
    // Converts whole groups of four frames into `out`; returns how many frames it did.
    int WriteFourFrames(const float* left, const float* right, int frames, std::uint8_t* out);

    int m_sampleRate;
    std::unique_ptr<std::FILE, FileCloser> m_file;
    std::vector<std::uint8_t> m_buffer;
    std::int64_t m_frames = 0;
    std::int64_t m_clipped = 0;
    bool m_failed = false;
};
