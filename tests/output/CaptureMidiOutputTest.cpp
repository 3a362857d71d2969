#include "output/CaptureMidiOutput.h"
#include "clock/VirtualClock.h"
#include "core/MidiOutError.h"
#include "fixtures/TestPaths.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

class CaptureMidiOutputTest : public testing::Test {
protected:
    TempDir dir;
    VirtualClock clock;
    std::string path = dir.File("capture.txt");
    CaptureMidiOutput output{path, clock};
};

} // namespace

TEST_F(CaptureMidiOutputTest, WritesSentAndDueMicrosecondsAndTheMessagesOwnBytes) {
    ASSERT_EQ(output.Open(), MIDIOUT_OK);
    const MonoTime opened = clock.Now();
    clock.Advance(12'345us);
    EXPECT_EQ(output.ShortMsg(0x90, 0x3C, 0x64, opened + 10ms), MIDIOUT_OK);
    EXPECT_EQ(output.ShortMsg(0xC1, 0x05, 0x7F, opened + 12ms), MIDIOUT_OK); // 2 bytes on the wire
    clock.Advance(1ms);
    const std::uint8_t sysex[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    EXPECT_EQ(output.LongMsg(sysex, sizeof sysex, opened + 13ms), MIDIOUT_OK);
    EXPECT_EQ(output.Reset(), MIDIOUT_OK);
    ASSERT_EQ(output.Close(), MIDIOUT_OK);

    EXPECT_EQ(ReadFileBytes(path), "12345 10000 90 3C 64\n"
                                   "12345 12000 C1 05\n"
                                   "13345 13000 F0 7E 7F 09 01 F7\n"
                                   "13345 13345 RESET\n");
}

TEST_F(CaptureMidiOutputTest, DueTimesBeforeOpeningAreNegative) {
    ASSERT_EQ(output.Open(), MIDIOUT_OK);
    output.ShortMsg(0xB0, 7, 100, clock.Now() - 2ms);
    output.Close();
    EXPECT_EQ(ReadFileBytes(path), "0 -2000 B0 07 64\n");
}

TEST_F(CaptureMidiOutputTest, RefusesWorkWhileClosedAndBadMessages) {
    EXPECT_EQ(output.ShortMsg(0x90, 60, 1, clock.Now()), MIDIOUT_INVALHANDLE);
    EXPECT_EQ(output.Reset(), MIDIOUT_INVALHANDLE);
    EXPECT_EQ(output.Close(), MIDIOUT_INVALHANDLE);
    ASSERT_EQ(output.Open(), MIDIOUT_OK);
    EXPECT_EQ(output.Open(), MIDIOUT_ALLOCATED);
    EXPECT_EQ(output.ShortMsg(0x3C, 0x40, 0, clock.Now()), MIDIOUT_INVALPARAM);
    EXPECT_EQ(output.LongMsg(nullptr, 0, clock.Now()), MIDIOUT_INVALPARAM);
    output.Close();
    EXPECT_EQ(ReadFileBytes(path), "");
}

TEST_F(CaptureMidiOutputTest, KeepsTheVolumeAndReopensWithAnEmptyFile) {
    ASSERT_EQ(output.Open(), MIDIOUT_OK);
    std::uint32_t volume = 0;
    EXPECT_EQ(output.GetVolume(volume), MIDIOUT_OK);
    EXPECT_EQ(volume, 0xFFFFFFFFu);
    EXPECT_EQ(output.SetVolume(0x7FFF'7FFF), MIDIOUT_OK);
    output.GetVolume(volume);
    EXPECT_EQ(volume, 0x7FFF7FFFu);
    output.ShortMsg(0x80, 60, 0, clock.Now());
    output.Close();
    ASSERT_EQ(output.Open(), MIDIOUT_OK);
    output.Close();
    EXPECT_EQ(ReadFileBytes(path), "");
}

TEST(CaptureMidiOutputOpen, FailsForAFileThatCannotBeCreated) {
    VirtualClock clock;
    CaptureMidiOutput output("/nonexistent-folder/capture.txt", clock);
    EXPECT_EQ(output.Open(), MIDIOUT_NODEVICE);
    EXPECT_EQ(output.ShortMsg(0x90, 60, 1, clock.Now()), MIDIOUT_INVALHANDLE);
}
