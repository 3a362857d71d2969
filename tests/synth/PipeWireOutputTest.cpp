// The synthesizer's PipeWire stream against a private server (pipewire, wireplumber,
// pipewire-pulse and a null sink, as scripts/pipewire-server.sh starts them); skipped where
// PipeWire is not installed.
#include "clock/AudioStreamClock.h"
#include "core/MidiOutError.h"
#include "fixtures/TestPaths.h"
#include "pipewire/PipeWireAudioStream.h"
#include "pulse/PulseAudioStream.h"
#include "synth/SoundFontLocator.h"
#include "synth/SynthMidiOutput.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <thread>

namespace {

const std::string kServerScript = DRUVEL_TEST_DATA "/../../scripts/pipewire-server.sh";

// Points this process at a folder where no server listens, or at a private server.
class PipeWireOutput : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"XDG_RUNTIME_DIR", "PULSE_SERVER", "PIPEWIRE_REMOTE",
                                 SynthMidiOutput::kDriverVariable})
            ::unsetenv(name);
        ::setenv("XDG_RUNTIME_DIR", m_folder.Path().c_str(), 1);
    }
    void TearDown() override {
        if (m_server)
            std::system(("PIPEWIRE_RUNTIME_DIR=" + m_folder.Path() + " " + kServerScript + " stop")
                            .c_str());
    }

    // False when PipeWire is not installed here.
    bool StartServer() {
        const std::string command =
            "PIPEWIRE_RUNTIME_DIR=" + m_folder.Path() + " " + kServerScript + " 2>/dev/null";
        std::FILE* pipe = ::popen(command.c_str(), "r");
        if (pipe == nullptr)
            return false;
        char line[512] = {};
        const bool printed = std::fgets(line, sizeof line, pipe) != nullptr;
        m_server = true;
        if (::pclose(pipe) != 0 || !printed)
            return false;
        ::setenv("PULSE_SERVER", ("unix:" + m_folder.Path() + "/pulse/native").c_str(), 1);
        return true;
    }

    // PipeWire alone, without the session manager that would link a stream to a sink.
    bool StartBareServer() {
        if (std::system("command -v pipewire >/dev/null") != 0)
            return false;
        const std::string& dir = m_folder.Path();
        m_server = true;
        std::system(("XDG_RUNTIME_DIR=" + dir + " pipewire >/dev/null 2>&1 & echo $! >" + dir +
                     "/pipewire.pid")
                        .c_str());
        for (int i = 0; i < 50 && !PipeWireAudioStream::ServerReachable(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return PipeWireAudioStream::ServerReachable();
    }

    TempDir m_folder;
    bool m_server = false;
};

constexpr std::chrono::microseconds Formula(int bufferedFrames) {
    return MidiOutput::kLatency +
           std::chrono::microseconds(std::int64_t{bufferedFrames} * 1000000 / 44100) +
           AudioStreamClock::kMargin;
}

} // namespace

TEST_F(PipeWireOutput, WithoutAServerTheStreamsAreNeitherProbedNorOpened) {
    EXPECT_FALSE(PipeWireAudioStream::ServerReachable());
    EXPECT_FALSE(PulseAudioStream::ServerReachable());
    const std::string probed = SynthMidiOutput::ProbeAudioDriver();
    EXPECT_NE(probed, "pipewire");
    EXPECT_NE(probed, "pulseaudio");
    const auto silent = [](void*, float*, float*, int, MonoTime) {};
    PipeWireAudioStream pipeWire;
    EXPECT_FALSE(pipeWire.Open(44100, 1024, silent, nullptr));
    EXPECT_FALSE(pipeWire.IsOpen());
    PulseAudioStream pulse;
    EXPECT_FALSE(pulse.Open(44100, 2048, silent, nullptr));
    EXPECT_FALSE(pulse.IsOpen());
}

// Its stream would wait for a sink for ever, silent, while another driver could sound.
TEST_F(PipeWireOutput, AServerThatNeverStartsTheStreamIsGivenUpOnTime) {
    if (!StartBareServer())
        GTEST_SKIP() << "PipeWire not installed";
    PipeWireAudioStream stream;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(stream.Open(
        44100, 1024, [](void*, float*, float*, int, MonoTime) {}, nullptr));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    EXPECT_FALSE(stream.IsOpen());
}

// The server says how late the frames are heard, through either of our streams.
TEST_F(PipeWireOutput, OurStreamsAreChosenInOrderAndMeasureTheirLatency) {
    if (SoundFontLocator().Find().empty())
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    if (!StartServer())
        GTEST_SKIP() << "PipeWire not installed";
    EXPECT_EQ(SynthMidiOutput::ProbeAudioDriver(), "pipewire");
    {
        SynthMidiOutput output;
        ASSERT_EQ(output.Open(), MIDIOUT_OK);
        EXPECT_STREQ(output.AudioDriver(), "pipewire");
        ASSERT_TRUE(output.LatencyMeasured());
        // More than the timer period and the chunk being rendered, less than a buffer of
        // several chunks: a figure from the server, not the formula's.
        EXPECT_GT(output.SoundLatency(), MidiOutput::kLatency + std::chrono::milliseconds(20));
        EXPECT_LT(output.SoundLatency(), std::chrono::milliseconds(150));
        EXPECT_NE(output.SoundLatency(), Formula(2 * 1024));
        EXPECT_EQ(output.ShortMsg(0x90, 60, 1, std::chrono::steady_clock::now()), MIDIOUT_OK);
        EXPECT_EQ(output.Close(), MIDIOUT_OK);
        EXPECT_EQ(output.SoundLatency(), std::chrono::microseconds(0));
    }
    ::setenv(SynthMidiOutput::kDriverVariable, "pulseaudio", 1);
    EXPECT_EQ(SynthMidiOutput::ProbeAudioDriver(), "pulseaudio");
    SynthMidiOutput output;
    ASSERT_EQ(output.Open(), MIDIOUT_OK);
    EXPECT_STREQ(output.AudioDriver(), "pulseaudio");
    ASSERT_TRUE(output.LatencyMeasured());
    // The server holds two and a half 46 ms chunks.
    EXPECT_GT(output.SoundLatency(), std::chrono::milliseconds(80));
    EXPECT_LT(output.SoundLatency(), std::chrono::milliseconds(250));
    EXPECT_EQ(output.ShortMsg(0x90, 60, 1, std::chrono::steady_clock::now()), MIDIOUT_OK);
    EXPECT_EQ(output.Close(), MIDIOUT_OK);
}
