#include "fixtures/MemoryMidiOutput.h"
#include "clock/VirtualClock.h"
#include "core/MidiOutError.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using Kind = RecordedMidiMessage::Kind;

TEST(MemoryMidiOutput, RecordsEachMessageWithItsOwnBytesAndBothTimes) {
    VirtualClock clock;
    MemoryMidiOutput output(clock);
    ASSERT_EQ(output.Open(), MIDIOUT_OK);
    const MonoTime opened = clock.Now();
    clock.Advance(15ms);
    output.ShortMsg(0xC9, 0, 0x55, opened + 3ms); // a program change has one data byte
    output.ShortMsg(0x93, 62, 63, opened + 7ms);
    const std::uint8_t sysex[] = {0xF0, 0x43, 0x10, 0xF7};
    output.LongMsg(sysex, sizeof sysex, opened + 9ms);
    output.Reset();

    const std::vector<RecordedMidiMessage> messages = output.Messages();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0].bytes, std::vector<std::uint8_t>({0xC9, 0}));
    EXPECT_EQ(messages[0].due, opened + 3ms);
    EXPECT_EQ(messages[0].sent, opened + 15ms);
    EXPECT_EQ(messages[1].bytes, std::vector<std::uint8_t>({0x93, 62, 63}));
    EXPECT_EQ(messages[2].kind, Kind::Long);
    EXPECT_EQ(messages[2].bytes.size(), 4u);
    EXPECT_EQ(messages[3].kind, Kind::Reset);
}

TEST(MemoryMidiOutput, CanStandForADeviceThatCannotBeOpened) {
    VirtualClock clock;
    MemoryMidiOutput output(clock);
    output.FailOpenWith(MIDIOUT_ALLOCATED);
    EXPECT_EQ(output.Open(), MIDIOUT_ALLOCATED);
    EXPECT_FALSE(output.IsOpen());
    EXPECT_EQ(output.ShortMsg(0x90, 60, 100, clock.Now()), MIDIOUT_INVALHANDLE);
    EXPECT_TRUE(output.Messages().empty());
    output.FailOpenWith(MIDIOUT_OK);
    EXPECT_EQ(output.Open(), MIDIOUT_OK);
    EXPECT_EQ(output.SetVolume(0x1234'5678), MIDIOUT_OK);
    EXPECT_EQ(output.Close(), MIDIOUT_OK);
    EXPECT_EQ(output.OpenCount(), 1);
    EXPECT_EQ(output.CloseCount(), 1);
    EXPECT_EQ(output.Volume(), 0x12345678u);
}
