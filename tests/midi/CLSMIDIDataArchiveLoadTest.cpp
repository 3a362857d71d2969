#include "midi/CLSMIDIData.h"

#include "fixtures/ArchiveBuilder.h"
#include "fixtures/ErrorSummary.h"
#include "fixtures/SampleSongs.h"
#include "fixtures/TestPaths.h"

#include <gtest/gtest.h>

namespace {

std::string SampleSong(const std::string& name) {
    for (const auto& [file, bytes] : SampleSongs()) {
        if (file == name)
            return bytes;
    }
    ADD_FAILURE() << "no sample song " << name;
    return {};
}

class ArchiveLoad : public ::testing::Test {
protected:
    void SetUp() override { song.SetOwner(this); }

    TempDir dir;
    ReportRecorder errors;
    CLSMIDIData song;
};

} // namespace

TEST_F(ArchiveLoad, LoadsMembersOfZipAndLzhLikeTheFileItself) {
    const std::string bytes = SampleSong("karaoke_xf.mid");
    WriteFileBytes(dir.File("song.mid"), bytes);
    ASSERT_TRUE(song.Load(dir.File("song.mid").c_str()));
    const unsigned length = song.GetLength();
    const std::size_t events = song.GetEvents().size();

    WriteZip(dir.File("songs.zip"), {{"karaoke/my song.mid", bytes}});
    WriteFileBytes(dir.File("songs.lzh"), BuildLzh({{"my song.mid", bytes}}, 2));
    for (const std::string& member :
         {dir.File("songs.zip") + ">karaoke/my song.mid", dir.File("songs.lzh") + ">my song.mid"}) {
        ASSERT_TRUE(song.Load(member.c_str())) << member;
        EXPECT_EQ(song.GetLength(), length);
        EXPECT_EQ(song.GetEvents().size(), events);
        EXPECT_STREQ(song.GetFileName().Text(), member.c_str());
    }
    EXPECT_TRUE(errors.Reports().empty());
}

TEST_F(ArchiveLoad, FailuresLeaveTheSongEmptyWithOneMessage) {
    WriteZip(dir.File("songs.zip"), {{"a.mid", SampleSong("two_tracks.mid")}});
    ASSERT_TRUE(song.Load((dir.File("songs.zip") + ">a.mid").c_str()));

    EXPECT_FALSE(song.Load((dir.File("songs.zip") + ">missing.mid").c_str()));
    EXPECT_FALSE(song.IsLoaded());
    EXPECT_FALSE(song.Load((dir.File("songs.7z") + ">a.mid").c_str()));
    ForgeZipSizes(dir.File("songs.zip"), 0xC0000000u); // a forged 3 GB member
    EXPECT_FALSE(song.Load((dir.File("songs.zip") + ">a.mid").c_str()));
    EXPECT_FALSE(song.IsLoaded());
    ASSERT_EQ(ErrorSummary(errors).size(), 4u); // the 7z path adds "DLL version" to code 12
    EXPECT_EQ(ErrorSummary(errors).back(), ErrorAt(14, "MIDIDATA"));
}
