#include "synth/SynthRenderOutput.h"
#include "clock/VirtualClock.h"
#include "core/MidiOutError.h"
#include "fixtures/TestPaths.h"
#include "synth/SoundFontLocator.h"

#include <cmath>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vector>

using namespace std::chrono_literals;

namespace {

// The small SoundFont keeps the tests quick; any General MIDI one will do.
std::string TestSoundFont() {
    const std::string small = "/usr/share/sounds/sf2/TimGM6mb.sf2";
    return ::access(small.c_str(), R_OK) == 0 ? small : SoundFontLocator().Find();
}

constexpr int kRate = SynthRenderOutput::kSampleRate;

class SynthRenderOutputTest : public testing::Test {
protected:
    void SetUp() override {
        if (TestSoundFont().empty())
            GTEST_SKIP() << "no General MIDI SoundFont installed";
        ASSERT_EQ(output.Open(), MIDIOUT_OK);
        start = clock.Now();
    }

    // Renders up to `seconds` after opening, keeping the left channel.
    void RenderTo(double seconds) {
        const auto until =
            start + std::chrono::nanoseconds(static_cast<std::int64_t>(seconds * 1e9));
        ASSERT_TRUE(output.RenderUntil(until, [this](const float* left, const float*, int frames) {
            samples.insert(samples.end(), left, left + frames);
            return true;
        }));
    }

    double Rms(double from, double to) const {
        double sum = 0;
        const auto a = static_cast<std::size_t>(from * kRate);
        const auto b = static_cast<std::size_t>(to * kRate);
        for (std::size_t i = a; i < b; ++i)
            sum += double(samples[i]) * samples[i];
        return std::sqrt(sum / double(b - a));
    }

    std::size_t FirstSound() const {
        for (std::size_t i = 0; i < samples.size(); ++i)
            if (std::fabs(samples[i]) > 1e-5f)
                return i;
        return samples.size();
    }

    VirtualClock clock;
    SynthRenderOutput output{TestSoundFont(), clock};
    MonoTime start;
    std::vector<float> samples;
};

} // namespace

TEST_F(SynthRenderOutputTest, ANoteSoundsFromItsDueFrameOn) {
    output.ShortMsg(0x90, 60, 100, start + 100ms);
    output.ShortMsg(0x80, 60, 0, start + 400ms);
    RenderTo(1.0);
    ASSERT_EQ(samples.size(), std::size_t(kRate));
    // FluidSynth starts an event at its next 64-frame block; the voice itself needs a few frames.
    const std::size_t due = kRate / 10;
    EXPECT_GE(FirstSound(), due - 32);
    EXPECT_LE(FirstSound(), due + 32 + 16);
    EXPECT_GT(Rms(0.1, 0.4), 0.01);
}

TEST_F(SynthRenderOutputTest, MessagesSentLateStillLandAtTheirDueTime) {
    clock.Advance(250ms); // as the tick would send an event due 150 ms before the tick
    output.ShortMsg(0x90, 60, 100, start + 100ms);
    RenderTo(0.5);
    EXPECT_NEAR(double(FirstSound()), kRate / 10.0, 48);
}

TEST_F(SynthRenderOutputTest, ResetEndsSustainedNotes) {
    output.ShortMsg(0xC0, 16, 0, start); // an organ holds its level while the key is down
    output.ShortMsg(0x90, 60, 100, start);
    output.ShortMsg(0x91, 67, 100, start);
    RenderTo(0.3);
    clock.Set(start + 300ms);
    ASSERT_EQ(output.Reset(), MIDIOUT_OK);
    RenderTo(1.5);
    const double held = Rms(0.2, 0.3);
    ASSERT_GT(held, 0.01);
    EXPECT_LT(Rms(1.2, 1.5), held / 20);
}

TEST_F(SynthRenderOutputTest, VolumeZeroIsSilentAndIsRemembered) {
    ASSERT_EQ(output.SetVolume(0), MIDIOUT_OK);
    std::uint32_t volume = 1;
    output.GetVolume(volume);
    EXPECT_EQ(volume, 0u);
    output.ShortMsg(0x90, 60, 127, start);
    RenderTo(0.3);
    EXPECT_EQ(FirstSound(), samples.size());
}

TEST_F(SynthRenderOutputTest, TakesExclusiveMessagesAndRejectsWhatIsNotAMessage) {
    const std::uint8_t gmOn[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    EXPECT_EQ(output.LongMsg(gmOn, sizeof gmOn, start), MIDIOUT_OK);
    EXPECT_EQ(output.ShortMsg(0x40, 1, 2, start), MIDIOUT_INVALPARAM);
    output.ShortMsg(0x90, 60, 100, start + 10ms);
    RenderTo(0.3);
    EXPECT_GT(Rms(0.05, 0.3), 0.01);
}

TEST(SynthRenderOutputOpen, FailsClearlyWithoutAUsableSoundFont) {
    VirtualClock clock;
    SynthRenderOutput missing("/nonexistent/none.sf2", clock);
    EXPECT_EQ(missing.Open(), MIDIOUT_NOSOUNDFONT);
    EXPECT_FALSE(missing.RenderFrames(10, [](const float*, const float*, int) { return true; }));
    EXPECT_EQ(missing.ShortMsg(0x90, 60, 100, clock.Now()), MIDIOUT_INVALHANDLE);

    TempDir dir;
    WriteFileBytes(dir.File("fake.sf2"), "not a SoundFont at all");
    SynthRenderOutput fake(dir.File("fake.sf2"), clock);
    EXPECT_EQ(fake.Open(), MIDIOUT_NOSOUNDFONT);
}

// Replaying a long song up to its start position hands over far more messages than one tick.
TEST_F(SynthRenderOutputTest, LosesNothingWhenAReplayFloodsTheQueue) {
    for (int i = 0; i < 40000; ++i)
        ASSERT_EQ(output.ShortMsg(0xB0, 1, static_cast<std::uint8_t>(i % 128), start), MIDIOUT_OK);
    output.ShortMsg(0x90, 60, 100, start);
    RenderTo(0.3);
    EXPECT_GT(Rms(0.05, 0.3), 0.01);
}

// Spreading the voices over threads must not change a sample: a chord on several channels,
// with reverb and chorus, rendered on one thread and on three.
TEST(SynthRenderOutputCores, TheSamplesDoNotDependOnTheThreadCount) {
    if (TestSoundFont().empty())
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    const auto render = [](int threads) {
        VirtualClock clock;
        SynthRenderOutput output(TestSoundFont(), clock, threads);
        EXPECT_EQ(output.Open(), MIDIOUT_OK);
        const MonoTime start = clock.Now();
        for (std::uint8_t channel = 0; channel < 12; ++channel) {
            output.ShortMsg(0xC0 | channel, channel * 10, 0, start);
            output.ShortMsg(0xB0 | channel, 91, 100, start);
            output.ShortMsg(0xB0 | channel, 93, 100, start);
            for (std::uint8_t k = 0; k < 4; ++k)
                output.ShortMsg(0x90 | channel, 48 + channel + k * 4, 90, start + 7ms * k);
        }
        std::vector<float> samples;
        output.RenderUntil(start + 800ms, [&](const float* left, const float* right, int frames) {
            for (int i = 0; i < frames; ++i) {
                samples.push_back(left[i]);
                samples.push_back(right[i]);
            }
            return true;
        });
        return samples;
    };
    const std::vector<float> one = render(1);
    ASSERT_FALSE(one.empty());
    EXPECT_TRUE(one == render(3));
}
