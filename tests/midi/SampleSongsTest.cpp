#include "SongTestHelpers.h"

#include "fixtures/SampleSongs.h"
#include "fixtures/TestPaths.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// The files in tests/data are exactly what the builder makes; DRUVEL_WRITE_SAMPLES=1
// rewrites them after a change to the builder.
TEST(SampleSongs, DataFilesAreTheBuilderOutputAndLoad) {
    const bool write = std::getenv("DRUVEL_WRITE_SAMPLES") != nullptr;
    for (const auto& [name, bytes] : SampleSongs()) {
        const std::string path = std::string(DRUVEL_TEST_DATA) + "/" + name;
        if (write)
            WriteFileBytes(path, bytes);
        EXPECT_EQ(ReadFileBytes(path), bytes) << name;
        CLSMIDIData song;
        EXPECT_TRUE(song.Load(path.c_str())) << name;
        EXPECT_TRUE(song.IsLoaded()) << name;
    }
}

TEST(SampleSongs, KaraokeSongHasInformationPagesAndReadings) {
    CLSMIDIData song;
    ASSERT_TRUE(song.Load((std::string(DRUVEL_TEST_DATA) + "/karaoke_xf.mid").c_str()));
    EXPECT_EQ(song.GetXF(), 1);
    EXPECT_EQ(std::string(song.GetTitle().Text()), ToCP932("春の歌"));
    EXPECT_EQ(std::string(song.GetArtist().Text()), ToCP932("歌手"));
    int pages = 0;
    bool reading = false;
    for (const CLSMIDIWordInfo& w : song.GetWords()) {
        pages += w.kind == CLSMIDIWordInfo::kSyllable && w.text.Text()[0] == '<';
        reading =
            reading || std::string(w.text.Text()).find(ToCP932("[春[はる]")) != std::string::npos;
    }
    EXPECT_EQ(pages, 3);
    EXPECT_TRUE(reading);
}

TEST(SampleSongs, ManyEventSongHasTheEventsAsked) {
    CLSMIDIData song;
    ASSERT_TRUE(LoadBytes(song, ManyEventSong(4, 1000)));
    // conductor tempo + per track a program and 2 x 125 notes
    EXPECT_EQ(song.GetEvents().size(), 1u + 4 * (1 + 250));
}

} // namespace
