// The flow's controls and loading, without playing.
#include "player/CLSStatusTexts.h"
#include "player/FlowHarness.h"

namespace {

using PlaybackFlowTest = FlowHarness;

TEST_F(PlaybackFlowTest, AddingLoadsTheFirstSongWithoutPlayingAndRecordsRecentFiles) {
    AddSongs();
    EXPECT_FALSE(engine.IsPlaying());
    EXPECT_EQ(LoadedTitle(), "Song0");
    EXPECT_EQ(playlist.GetCurrent(), 0u);
    EXPECT_EQ(seekBar.rangeMax, static_cast<int>(engine.GetLength()));
    ASSERT_EQ(marquee.lines.size(), 2u);
    EXPECT_EQ(marquee.lines[0], "ファイル名: " + dir.File("song0.mid"));
    EXPECT_EQ(marquee.lines[1], "曲名: Song0");
    ASSERT_EQ(settings.RecentFiles().size(), 3u);
    EXPECT_STREQ(settings.GetRecentFile(0), dir.File("song2.mid").c_str());
}

TEST_F(PlaybackFlowTest, CaptionsAndACodePage932TitleStayReadable) {
    SongBuilder song;
    song.Meta(0, 0x03, "\x89\xcc"); // 歌 in code page 932
    song.NoteOn(0, 0, 60, 100).NoteOff(480, 0, 60);
    const std::string path = dir.File("cp932.mid");
    const std::vector<std::uint8_t> bytes = song.Bytes();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    flow->AddPath(CLSTString(path.c_str()));
    ASSERT_EQ(marquee.lines.size(), 2u);
    EXPECT_EQ(marquee.lines[1], "曲名: 歌");
}

TEST_F(PlaybackFlowTest, PlayPauseWithNothingLoadedDoesNothing) {
    playlist.AppendSong(CLSTString(WriteSong(0).c_str())); // as a restored playlist leaves it
    flow->PlayPause();
    EXPECT_FALSE(engine.IsPlaying());
    EXPECT_TRUE(reports.Reports().empty());
}

TEST_F(PlaybackFlowTest, EmptyingThePlaylistEmptiesTheEngine) {
    AddSongs(1);
    playlist.View().SetSelected(0, true);
    flow->DeleteSelected();
    EXPECT_FALSE(engine.IsLoaded());
    EXPECT_TRUE(marquee.lines.empty());
}

TEST_F(PlaybackFlowTest, SlidersStayInTheirRanges) {
    EXPECT_EQ(tempoLabel.text, "テンポ： 100%");
    EXPECT_EQ(keyLabel.text, "キー： 0");
    flow->StepKey(+1);
    EXPECT_EQ(keyLabel.text, "キー： +1");
    for (int i = 0; i < 30; ++i)
        flow->StepKey(-1);
    EXPECT_EQ(key.value, -12);
    EXPECT_EQ(keyLabel.text, "キー： -12");
    for (int i = 0; i < 30; ++i)
        flow->StepTempo(+10);
    EXPECT_EQ(tempo.value, 250);
    flow->StepVolume(+10);
    EXPECT_EQ(volume.value, 100);
    EXPECT_EQ(volumeLabel.text, "音量： 100%");
    flow->StepVolume(-10);
    EXPECT_EQ(volumeLabel.text, "音量： 90%");
}

TEST(StatusTexts, BeatsPerMinuteRoundToNearest) {
    EXPECT_EQ(CLSStatusTexts::Tempo(150, 500000), "テンポ： 150% (180)");
    EXPECT_EQ(CLSStatusTexts::Tempo(100, 0), "テンポ： 100%");
    EXPECT_EQ(CLSStatusTexts::EffectiveBpm(100, 461538), 130);  // 130.0000...
    EXPECT_EQ(CLSStatusTexts::EffectiveBpm(100, 400001), 150);  // 149.99..
    EXPECT_EQ(CLSStatusTexts::EffectiveBpm(250, 1), 150000000); // no 32-bit overflow
}

class VolumeOutput final : public MidiOutput {
public:
    VolumeOutput(int openResult, int readResult, std::uint32_t volume)
        : m_open(openResult), m_read(readResult), m_volume(volume) {}
    int Open() override { return m_open; }
    int Reset() override { return MIDIOUT_OK; }
    int ShortMsg(std::uint8_t, std::uint8_t, std::uint8_t, MonoTime) override { return 0; }
    int LongMsg(const std::uint8_t*, std::size_t, MonoTime) override { return 0; }
    int SetVolume(std::uint32_t) override { return MIDIOUT_OK; }
    int GetVolume(std::uint32_t& volume) override {
        volume = m_volume;
        return m_read;
    }
    int Close() override { return MIDIOUT_OK; }

private:
    int m_open, m_read;
    std::uint32_t m_volume;
};

MidiOutputFactory Device(int openResult, int readResult, std::uint32_t volume) {
    return [=](int, std::unique_ptr<MidiOutput>& out) {
        out = std::make_unique<VolumeOutput>(openResult, readResult, volume);
        return static_cast<int>(MIDIOUT_OK);
    };
}

TEST_F(PlaybackFlowTest, InitialVolumeComesFromTheDevice) {
    flow->ReadInitialVolume(Device(MIDIOUT_OK, MIDIOUT_OK, 0xFFFFFFFFu));
    EXPECT_EQ(volume.value, 100);
    flow->ReadInitialVolume(Device(MIDIOUT_OK, MIDIOUT_OK, 0x80008000u));
    EXPECT_EQ(volume.value, 50);
    EXPECT_EQ(volumeLabel.text, "音量： 50%");
}

TEST_F(PlaybackFlowTest, AnUnreadableDeviceVolumeLeavesTheSliderQuietly) {
    volume.SetValue(100);
    flow->ReadInitialVolume(Device(MIDIOUT_OK, MIDIOUT_NOTSUPPORTED, 0));
    EXPECT_EQ(volume.value, 100);
    flow->ReadInitialVolume(Device(MIDIOUT_ALLOCATED, MIDIOUT_OK, 0));
    EXPECT_EQ(volume.value, 100);
    EXPECT_EQ(volumeLabel.text, "音量： 100%");
    EXPECT_TRUE(reports.Reports().empty());
}

} // namespace
