#include "fixtures/CliRunner.h"
#include "fixtures/SampleSongs.h"
#include "fixtures/SmfBuilder.h"
#include "fixtures/TestPaths.h"

#include <gtest/gtest.h>
#include <string>

namespace {

std::string Data(const char* name) {
    return std::string(DRUVEL_TEST_DATA) + "/" + name;
}

TEST(CliInfo, PrintsOneJsonObjectPerFileWithDecodedTexts) {
    const CliRun run =
        RunCli("info --json --words " + Data("karaoke_xf.mid") + " " + Data("two_tracks.mid"));
    ASSERT_EQ(run.status, 0) << run.out;
    const auto newline = run.out.find('\n');
    ASSERT_NE(newline, std::string::npos);
    const std::string first = run.out.substr(0, newline);
    EXPECT_EQ(first.front(), '{');
    EXPECT_NE(first.find("\"loaded\":true"), std::string::npos);
    EXPECT_NE(first.find("\"xf\":true"), std::string::npos);
    EXPECT_NE(first.find("\"title\":\"春の歌\""), std::string::npos); // CP932 shown as UTF-8
    EXPECT_NE(first.find("\"rows\":[{\"label\":73,\"name\":\"Flute\"}]"), std::string::npos);
    EXPECT_NE(first.find("\"text\":\"<[春[はる]の\""), std::string::npos);
    const std::string second = run.out.substr(newline + 1);
    EXPECT_NE(second.find("\"title\":\"Two Tracks\""), std::string::npos);
    EXPECT_NE(second.find("{\"label\":128,\"name\":\"Percussion\"}"), std::string::npos);
    EXPECT_EQ(second.find("\"words\""), second.find("\"words\":["));

    const CliRun channels = RunCli("info --json --spectrum-type 2 " + Data("two_tracks.mid"));
    EXPECT_NE(channels.out.find("{\"label\":138,\"name\":\"Channel 10\"}"), std::string::npos);
}

TEST(CliInfo, XFSongsKeepTheirWordsOutputByteForByte) {
    const CliRun run = RunCli("info --words " + Data("karaoke_xf.mid"));
    ASSERT_EQ(run.status, 0) << run.out;
    const auto firstLine = run.out.find('\n');
    ASSERT_NE(firstLine, std::string::npos);
    EXPECT_EQ(run.out.substr(firstLine + 1), ReadFileBytes(Data("karaoke_xf.words.txt")));
}

TEST(CliInfo, SoftKaraokeSongsShowTitlesPagesAndTheirEncoding) {
    TempDir dir;
    SmfBuilder smf(1, 480);
    smf.AddTrack().TrackName(0, "@TCaf\xe9 song").Text(0, "@KMIDI KARAOKE FILE").End();
    smf.AddTrack()
        .Text(0, "@LFREN")
        .Text(0, "@TCaf\xe9 song")
        .Text(0, "@TLes Amis")
        .Text(480, "\\Caf")
        .Text(480, "\xe9 ")
        .Text(480, "/au ")
        .Text(480, "lait")
        .End();
    smf.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(1920, 0, 60).End();
    smf.Save(dir.File("cafe.kar"));
    const CliRun run = RunCli("info --words " + dir.File("cafe.kar"));
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("title:        Café song\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("artist:       Les Amis\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("encoding:     WINDOWS-1252\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("kind 1  part 0  line 1  \"é \\u000a\""), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find('@'), std::string::npos) << run.out;

    // A named encoding wins; an unknown one is a usage error.
    const CliRun named = RunCli("info --encoding KOI8-R " + dir.File("cafe.kar"));
    EXPECT_NE(named.out.find("title:        CafИ song\n"), std::string::npos) << named.out;
    EXPECT_EQ(RunCli("info --encoding NO-SUCH-CODE-PAGE " + dir.File("cafe.kar")).status, 2);
    EXPECT_EQ(RunCli("play --encoding NO-SUCH-CODE-PAGE " + dir.File("cafe.kar")).status, 2);
}

TEST(CliInfo, FailsForFilesThatDoNotLoad) {
    TempDir dir;
    WriteFileBytes(dir.File("text.mid"), "hello, this is not a song at all");
    const CliRun notSmf = RunCli("info " + dir.File("text.mid"));
    EXPECT_NE(notSmf.status, 0);
    EXPECT_NE(notSmf.out.find("not a Standard MIDI File"), std::string::npos);

    const CliRun missing = RunCli("info --json " + dir.File("missing.mid"));
    EXPECT_NE(missing.status, 0);
    EXPECT_NE(missing.out.find("ファイルを読み込めません。"), std::string::npos);
    EXPECT_NE(missing.out.find("\"loaded\":false"), std::string::npos);
}

TEST(CliEvents, PrintsTicksDeltasRowsStatusAndPayload) {
    const CliRun run = RunCli("events " + Data("running_status.mid"));
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out, "0 0 0 F0 -- F07E7F0901F7\n"
                       "0 0 0 B0 -- 0764\n"
                       "0 0 0 B0 -- 0A40\n"
                       "0 0 0 90 -- 3C50\n"
                       "48 48 0 90 -- 4050\n"
                       "96 48 0 80 -- 3C40\n"
                       "96 0 0 80 -- 4040\n"
                       "96 0 0 FF 58 04021808\n");
    const CliRun tempo = RunCli("events " + Data("two_tracks.mid"));
    EXPECT_NE(tempo.out.find("0 0 0 FF 51 07A120\n"), std::string::npos);
    EXPECT_NE(tempo.out.find(" C0 -- 30\n"), std::string::npos);
}

} // namespace
