#include "synth/WavWriter.h"
#include "fixtures/TestPaths.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>

namespace {

std::uint32_t Le32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

std::int16_t Le16(const std::string& bytes, std::size_t at) {
    return static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[at]) |
                                     static_cast<std::uint8_t>(bytes[at + 1]) << 8);
}

} // namespace

TEST(WavWriter, WritesAStereo16BitHeaderWithTheFinalSizes) {
    TempDir dir;
    const std::string path = dir.File("out.wav");
    WavWriter wav(44100);
    ASSERT_TRUE(wav.Open(path));
    const float left[] = {0.0f, 0.5f, -1.0f};
    const float right[] = {1.0f, -0.5f, 0.25f};
    ASSERT_TRUE(wav.Write(left, right, 3));
    ASSERT_TRUE(wav.Write(left, right, 1));
    ASSERT_TRUE(wav.Close());

    const std::string bytes = ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), 44u + 4 * 4);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(Le32(bytes, 4), 36u + 16);
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(Le16(bytes, 20), 1); // PCM
    EXPECT_EQ(Le16(bytes, 22), 2); // stereo
    EXPECT_EQ(Le32(bytes, 24), 44100u);
    EXPECT_EQ(Le32(bytes, 28), 44100u * 4);
    EXPECT_EQ(Le16(bytes, 34), 16);
    EXPECT_EQ(bytes.substr(36, 4), "data");
    EXPECT_EQ(Le32(bytes, 40), 16u);
    // Interleaved left, right.
    EXPECT_EQ(Le16(bytes, 44), 0);
    EXPECT_EQ(Le16(bytes, 46), 32767);
    EXPECT_EQ(Le16(bytes, 48), 16384);
    EXPECT_EQ(Le16(bytes, 50), -16384);
    EXPECT_EQ(Le16(bytes, 52), -32767);
}

TEST(WavWriter, ClipsAndCountsSamplesBeyondFullScale) {
    TempDir dir;
    WavWriter wav;
    ASSERT_TRUE(wav.Open(dir.File("loud.wav")));
    const float left[] = {3.0f};
    const float right[] = {-1.5f};
    wav.Write(left, right, 1);
    EXPECT_EQ(wav.ClippedSamples(), 2);
    ASSERT_TRUE(wav.Close());
    const std::string bytes = ReadFileBytes(dir.File("loud.wav"));
    EXPECT_EQ(Le16(bytes, 44), 32767);
    EXPECT_EQ(Le16(bytes, 46), -32767);
}

TEST(WavWriter, ManyFramesAtOnceGiveTheBytesOfOneFrameAtATime) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float left[] = {0.0f, 0.5f, -0.5f, 1.0f,  -1.0f,       3.0f,
                          nan,  inf,  -inf,  0.25f, 1.5f / 32767};
    const float right[] = {-0.5f / 32767, 2.5f / 32767, -1.5f,   0.999f,        -inf,  nan,
                           1e-9f,         -0.75f,       1.0001f, -2.5f / 32767, 0.125f};
    constexpr int kFrames = 11;
    TempDir dir;
    WavWriter whole;
    WavWriter single;
    ASSERT_TRUE(whole.Open(dir.File("whole.wav")));
    ASSERT_TRUE(single.Open(dir.File("single.wav")));
    ASSERT_TRUE(whole.Write(left, right, kFrames));
    for (int i = 0; i < kFrames; ++i)
        ASSERT_TRUE(single.Write(left + i, right + i, 1));
    EXPECT_EQ(whole.ClippedSamples(), single.ClippedSamples());
    ASSERT_TRUE(whole.Close());
    ASSERT_TRUE(single.Close());
    const std::string bytes = ReadFileBytes(dir.File("whole.wav"));
    EXPECT_EQ(bytes, ReadFileBytes(dir.File("single.wav")));
    EXPECT_EQ(Le16(bytes, 44 + 6 * 4), 0); // a NaN is silence
}

TEST(WavWriter, ReportsAFileThatCannotBeWritten) {
    WavWriter wav;
    EXPECT_FALSE(wav.Open("/nonexistent-folder/out.wav"));
    const float sample[] = {0.0f};
    EXPECT_FALSE(wav.Write(sample, sample, 1));
    EXPECT_FALSE(wav.Close());
}
