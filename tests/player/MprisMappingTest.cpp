// The player's state in the desktop media-player interface's terms, and back.
#include "engine/SongBuilder.h"
#include "fixtures/TestPaths.h"
#include "midi/CLSMIDIData.h"
#include "player/CLSMprisMapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <unistd.h>

namespace {

using M = CLSMprisMapping;
using State = CLSPlaybackFlow::State;

TEST(MprisMapping, OnlyPlayingAndPausedAreReportedAsSuch) {
    EXPECT_STREQ(M::StatusText(State::Playing), "Playing");
    EXPECT_STREQ(M::StatusText(State::Paused), "Paused");
    EXPECT_STREQ(M::StatusText(State::Stopped), "Stopped");
    EXPECT_STREQ(M::StatusText(State::NoSong), "Stopped");
}

TEST(MprisMapping, MicrosecondsRoundDownEvenBeforeZero) {
    EXPECT_EQ(M::UsToMs(1999), 1);
    EXPECT_EQ(M::UsToMs(-1), -1);
    EXPECT_EQ(M::UsToMs(-1000), -1);
    // The longest song the engine can report fits.
    EXPECT_EQ(M::MsToUs(0xFFFFFFFFu), 4294967295000LL);
}

TEST(MprisMapping, RelativeSeeksStopAtTheStartAndLeaveAtTheEnd) {
    EXPECT_EQ(M::SeekTarget(5000, 2'500'000, 10000), 7500);
    EXPECT_EQ(M::SeekTarget(5000, -9'000'000, 10000), 0);
    EXPECT_EQ(M::SeekTarget(5000, 5'000'000, 10000), 10000) << "the very end is still the song";
    EXPECT_EQ(M::SeekTarget(5000, 5'001'000, 10000), std::nullopt) << "past the end: next song";
    // Offsets from outside can be anything.
    EXPECT_EQ(M::SeekTarget(5000, std::numeric_limits<std::int64_t>::max(), 10000), std::nullopt);
    EXPECT_EQ(M::SeekTarget(5000, std::numeric_limits<std::int64_t>::min(), 10000), 0);
}

TEST(MprisMapping, AbsolutePositionsOutsideTheSongAreIgnored) {
    EXPECT_EQ(M::PositionTarget(3'000'999, 10000), 3000);
    EXPECT_EQ(M::PositionTarget(10'000'000, 10000), 10000);
    EXPECT_EQ(M::PositionTarget(10'000'001, 10000), std::nullopt);
    EXPECT_EQ(M::PositionTarget(-1, 10000), std::nullopt);
}

TEST(MprisMapping, VolumeAndRateStayInTheSlidersRanges) {
    EXPECT_EQ(M::VolumePercent(0.5), 50);
    EXPECT_EQ(M::VolumePercent(0.336), 34);
    EXPECT_EQ(M::VolumePercent(1.7), 100) << "no amplification past the slider";
    EXPECT_EQ(M::VolumePercent(-0.3), 0);
    EXPECT_EQ(M::VolumePercent(std::nan("")), std::nullopt);
    for (int percent : {0, 1, 33, 99, 100})
        EXPECT_EQ(M::VolumePercent(M::VolumeOf(percent)), percent);

    EXPECT_EQ(M::TempoPercent(1.5), 150);
    EXPECT_EQ(M::TempoPercent(0.1), 40);
    EXPECT_EQ(M::TempoPercent(9.0), 250);
    EXPECT_EQ(M::TempoPercent(0.0), std::nullopt) << "a rate of 0 is no tempo";
    EXPECT_EQ(M::TempoPercent(std::nan("")), std::nullopt);
    EXPECT_DOUBLE_EQ(M::RateOf(M::TempoPercent(M::kMaximumRate).value()), M::kMaximumRate);
}

TEST(MprisMapping, PlayOrderReadsAsLoopAndShuffleAndBack) {
    EXPECT_STREQ(M::LoopStatusOf(0), "None");
    EXPECT_STREQ(M::LoopStatusOf(1), "Track");
    EXPECT_STREQ(M::LoopStatusOf(2), "Playlist");
    EXPECT_STREQ(M::LoopStatusOf(3), "Playlist") << "random play never ends";
    EXPECT_STREQ(M::LoopStatusOf(7), "None") << "an unknown value from the file plays as normal";
    EXPECT_TRUE(M::ShuffleOf(3));
    EXPECT_FALSE(M::ShuffleOf(2));

    EXPECT_EQ(M::PlayTypeForLoop("Track"), 1);
    EXPECT_EQ(M::PlayTypeForLoop("Playlist"), 2);
    EXPECT_EQ(M::PlayTypeForLoop("None"), 0);
    EXPECT_EQ(M::PlayTypeForLoop("playlist"), std::nullopt);
    EXPECT_EQ(M::PlayTypeForShuffle(true, 1), 3);
    EXPECT_EQ(M::PlayTypeForShuffle(false, 3), 2) << "still loops, no longer shuffled";
    EXPECT_EQ(M::PlayTypeForShuffle(false, 1), 1);
}

TEST(MprisMapping, FileUrlsEscapeWhatAUrlCannotHold) {
    EXPECT_EQ(M::FileUrl("/music/a b#1%.mid"), "file:///music/a%20b%231%25.mid");
    EXPECT_EQ(M::FileUrl("/曲.mid"), "file:///%E6%9B%B2.mid");
    EXPECT_EQ(M::FileUrl(""), "");
    char cwd[4096];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(M::FileUrl("./x.mid"), "file://" + std::string(cwd) + "/x.mid");
}

TEST(MprisMapping, AnArchiveMemberIsTheArchiveWithTheMemberAsFragment) {
    EXPECT_EQ(M::FileUrl("/m/songs.zip>dir/a b.mid"), "file:///m/songs.zip#dir/a%20b.mid");
    // A file whose own name holds ">" is that file.
    TempDir dir;
    const std::string odd = dir.File("a>b.mid");
    WriteFileBytes(odd, "x");
    EXPECT_EQ(M::FileUrl(odd), "file://" + dir.Path() + "/a%3Eb.mid");
}

class MprisTrackTest : public ::testing::Test {
protected:
    void Load(SongBuilder& song, const char* name) {
        song.NoteOn(0, 0, 60, 100).NoteOff(960, 0, 60); // one second at 120 bpm
        const std::vector<std::uint8_t> bytes = song.Bytes();
        ASSERT_TRUE(engine.LoadFromMemory(bytes.data(), bytes.size(), name));
    }
    CLSMIDIData engine;
};

TEST_F(MprisTrackTest, NothingLoadedIsTheNoTrackAlone) {
    const MprisTrack track = M::TrackOf(engine, 0);
    EXPECT_EQ(track.trackId, M::kNoTrack);
    EXPECT_TRUE(track.title.empty());
    EXPECT_TRUE(track.url.empty());
    EXPECT_EQ(track.lengthUs, 0);
}

TEST_F(MprisTrackTest, CodePage932TitleAndArtistArriveAsUnicode) {
    SongBuilder song;
    // さくらさくら / 歌手の名前 in code page 932
    song.Meta(0, 0x01,
              "XFln:JP:\x82\xb3\x82\xad\x82\xe7\x82\xb3\x82\xad\x82\xe7:c:l:a:"
              "\x89\xcc\x8e\xe8\x82\xcc\x96\xbc\x91\x4f");
    Load(song, "/songs/sakura.mid");
    const MprisTrack track = M::TrackOf(engine, 4);
    EXPECT_EQ(track.trackId, "/org/druvel/track/4");
    EXPECT_EQ(track.title, "さくらさくら");
    ASSERT_EQ(track.artists.size(), 1u);
    EXPECT_EQ(track.artists[0], "歌手の名前");
    EXPECT_EQ(track.lengthUs, M::MsToUs(engine.GetLength()));
    EXPECT_GT(track.lengthUs, 900'000);
    EXPECT_EQ(track.url, "file:///songs/sakura.mid");
}

TEST_F(MprisTrackTest, AnUntitledSongIsNamedByItsFileAndNamesNoArtist) {
    SongBuilder song;
    Load(song, "/m/pack.zip>folder/untitled.mid");
    const MprisTrack track = M::TrackOf(engine, 0);
    EXPECT_EQ(track.title, "untitled.mid");
    EXPECT_TRUE(track.artists.empty());
}

} // namespace
