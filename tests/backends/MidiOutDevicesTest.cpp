#include "backends/MidiOutDevices.h"
#include "alsa/AlsaSeqMidiOutput.h"
#include "alsa/AlsaSeqPorts.h"
#include "clock/VirtualClock.h"
#include "core/MidiOutError.h"
#include "fixtures/TestPaths.h"
#include "output/CaptureMidiOutput.h"
#include "synth/SoundFontLocator.h"
#include "synth/SynthMidiOutput.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace {

// A sequencer name ALSA cannot open: stands for a machine without the sequencer.
constexpr const char* kNoSequencer = "druvel_no_such_sequencer";

} // namespace

TEST(MidiOutDevices, WithoutASequencerOnlyTheSynthesizerIsOffered) {
    EXPECT_TRUE(AlsaSeqPorts::List(kNoSequencer).empty());
    const MidiOutDevices devices(kNoSequencer);
    EXPECT_EQ(devices.Count(), 1);
    EXPECT_EQ(devices.Names(), std::vector<std::string>{MidiOutDevices::SynthesizerName()});
}

TEST(MidiOutDevices, TheRealCountIncludesTheSynthesizerAndEveryPort) {
    EXPECT_EQ(MidiOutDevices().Count(), 1 + static_cast<int>(AlsaSeqPorts::List().size()));
}

TEST(MidiOutDevices, MinusOneAndZeroAreTheSynthesizerAndOtherIdsMustNameAPort) {
    const MidiOutDevices devices(kNoSequencer);
    std::unique_ptr<MidiOutput> out;
    for (int id : {-1, 0}) {
        out.reset();
        EXPECT_EQ(devices.Create(id, out), MIDIOUT_OK);
        EXPECT_NE(dynamic_cast<SynthMidiOutput*>(out.get()), nullptr);
    }
    for (int id : {-2, 1, 2, 1000, -1000}) {
        out.reset();
        EXPECT_EQ(devices.Create(id, out), MIDIOUT_BADDEVICEID) << id;
        EXPECT_EQ(out, nullptr);
    }
}

TEST(MidiOutDevices, CommandLineNamesANumberOrACaptureFile) {
    TempDir dir;
    VirtualClock clock;
    std::unique_ptr<MidiOutput> out;
    ASSERT_EQ(MidiOutDevices::CreateFromArgument("capture:" + dir.File("c.txt"), clock, out),
              MIDIOUT_OK);
    EXPECT_NE(dynamic_cast<CaptureMidiOutput*>(out.get()), nullptr);
    out.reset();
    EXPECT_EQ(MidiOutDevices::CreateFromArgument("-1", clock, out), MIDIOUT_OK);
    for (const char* bad : {"capture:", "", "x", "1x", " 0", "99999999999"}) {
        out.reset();
        EXPECT_EQ(MidiOutDevices::CreateFromArgument(bad, clock, out), MIDIOUT_BADDEVICEID) << bad;
    }
}

TEST(AlsaSeqMidiOutput, OpeningWithoutASequencerFailsAndLeavesItClosed) {
    AlsaSeqMidiOutput output(128, 0, kNoSequencer);
    EXPECT_EQ(output.Open(), MIDIOUT_NODRIVER);
    std::uint32_t volume = 0;
    EXPECT_EQ(output.GetVolume(volume), MIDIOUT_INVALHANDLE);
    EXPECT_EQ(output.ShortMsg(0x90, 60, 100, MonoTime{}), MIDIOUT_INVALHANDLE);
    EXPECT_EQ(output.Reset(), MIDIOUT_INVALHANDLE);
    EXPECT_EQ(output.Close(), MIDIOUT_INVALHANDLE);
}

TEST(SynthMidiOutput, ReportsAMissingSoundFontAndStaysUsable) {
    SynthMidiOutput output("/nonexistent/none.sf2");
    EXPECT_EQ(output.Open(), MIDIOUT_NOSOUNDFONT);
    EXPECT_EQ(output.Open(), MIDIOUT_NOSOUNDFONT); // not "already in use" after a failure
    EXPECT_EQ(output.ShortMsg(0x90, 60, 100, MonoTime{}), MIDIOUT_INVALHANDLE);
}

// Here there may be no sound card: then opening must say so, and again the next time.
TEST(SynthMidiOutput, OpensWhereAudioExistsAndOtherwiseSaysThereIsNoAudio) {
    if (SoundFontLocator().Find().empty())
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    for (int attempt = 0; attempt < 2; ++attempt) {
        SynthMidiOutput output;
        const int result = output.Open();
        ASSERT_TRUE(result == MIDIOUT_OK || result == MIDIOUT_NOAUDIO) << result;
        if (result == MIDIOUT_OK) {
            SynthMidiOutput second;
            EXPECT_EQ(second.Open(), MIDIOUT_ALLOCATED);
            EXPECT_EQ(output.ShortMsg(0x90, 60, 1, std::chrono::steady_clock::now()), MIDIOUT_OK);
            EXPECT_EQ(output.Close(), MIDIOUT_OK);
        }
    }
}

TEST(CliDevices, ListsTheNumberedDevicesAndMarksTheDefault) {
    std::FILE* pipe = ::popen("env LANGUAGE= LC_ALL=C.UTF-8 " DRUVEL_CLI " devices", "r");
    ASSERT_NE(pipe, nullptr);
    std::string text;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        text += buffer;
    EXPECT_EQ(::pclose(pipe), 0);
    EXPECT_NE(text.find("  0  " + std::string(MidiOutDevices::SynthesizerName()) + "\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find(" -1  "), std::string::npos) << text;
    EXPECT_NE(text.find("(default)"), std::string::npos) << text;
}
