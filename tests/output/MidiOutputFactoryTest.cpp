#include "output/MidiOutputFactory.h"

#include "clock/VirtualClock.h"
#include "core/MidiOutError.h"
#include "fixtures/MemoryMidiOutput.h"
#include "fixtures/ReportRecorder.h"
#include "fixtures/SampleSongs.h"
#include "midi/CLSMIDIData.h"

#include <gtest/gtest.h>

namespace {

// Takes the installed factory away for the test's lifetime and puts it back afterwards.
class NoSystemFactory : public testing::Test {
protected:
    void TearDown() override { SetSystemMidiOutputFactory(std::move(m_installed)); }

    MidiOutputFactory m_installed = SetSystemMidiOutputFactory(nullptr);
};

} // namespace

TEST_F(NoSystemFactory, EveryDeviceIsRefusedUntilAFactoryIsInstalled) {
    std::unique_ptr<MidiOutput> out;
    EXPECT_EQ(CreateSystemMidiOutput(-1, out), MIDIOUT_NODRIVER);
    EXPECT_EQ(CreateSystemMidiOutput(0, out), MIDIOUT_NODRIVER);
    EXPECT_EQ(out, nullptr);

    VirtualClock clock;
    int asked = -2;
    SetSystemMidiOutputFactory([&](int id, std::unique_ptr<MidiOutput>& made) {
        asked = id;
        made = std::make_unique<MemoryMidiOutput>(clock);
        return MIDIOUT_OK;
    });
    EXPECT_EQ(CreateSystemMidiOutput(3, out), MIDIOUT_OK);
    EXPECT_EQ(asked, 3);
    EXPECT_NE(out, nullptr);
}

TEST_F(NoSystemFactory, TheEngineReportsAMissingDriverInsteadOfPlaying) {
    ReportRecorder errors;
    CLSMIDIData song;
    const std::string bytes = ManyEventSong(1, 10);
    ASSERT_TRUE(song.LoadFromMemory(bytes.data(), bytes.size(), "a.mid"));
    EXPECT_FALSE(song.Play(0, 0));
    EXPECT_FALSE(song.IsPlaying());
    ASSERT_EQ(errors.Reports().size(), 1u);
    EXPECT_EQ(errors.Reports()[0].text.rfind(MidiOutErrorText(MIDIOUT_NODRIVER), 0), 0u);
}
