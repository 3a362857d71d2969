#include "cli/PlayListArguments.h"

#include "fixtures/ArchiveBuilder.h"
#include "fixtures/CliRunner.h"
#include "fixtures/TestPaths.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

TEST(CliList, PrintsThePlayListThatAddingThePathsMakes) {
    TempDir dir;
    std::filesystem::create_directories(dir.File("music/sub"));
    WriteFileBytes(dir.File("music/b.mid"), "");
    WriteFileBytes(dir.File("music/sub/a.mid"), "");
    WriteFileBytes(dir.File("music/skip.m3u"), "x.mid\n");
    WriteZip(dir.File("pack one.zip"), {{"z.mid", "z"}, {"dir/y.MID", "y"}, {"r.txt", "r"}});
    WriteFileBytes(dir.File("list.m3u"),
                   "#EXTM3U\nmusic/b.mid\n" + dir.File("pack one.zip") + ">z.mid\n");
    const CliRun run = RunCli("list '" + dir.File("music") + "' '" + dir.File("pack one.zip") +
                                  "' '" + dir.File("list.m3u") + "' other.kar other.doc",
                              CliStderr::Discard);
    EXPECT_EQ(run.status, 0);
    const std::string d = dir.Path() + "/";
    EXPECT_EQ(run.out, d + "music/b.mid\n" + d + "music/sub/a.mid\n" + d +
                           "pack one.zip>dir/y.MID\n" + d + "pack one.zip>z.mid\n" + d +
                           "music/b.mid\n" + d + "pack one.zip>z.mid\nother.kar\n");
}

TEST(CliList, FailsOnPathsItCannotAddAndWithoutPaths) {
    TempDir dir;
    WriteFileBytes(dir.File("junk.zip"), "junk");
    const CliRun run = RunCli("list /nowhere/a.mid '" + dir.File("junk.zip") + "' /nowhere/x.m3u",
                              CliStderr::Discard);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "/nowhere/a.mid\n");
    EXPECT_EQ(RunCli("list", CliStderr::Discard).status, 2);
}

TEST(CliList, AnUnreadablePlayListFileIsReportedAndTheRestListed) {
    TempDir dir;
    ASSERT_EQ(::symlink("/proc/self/mem", dir.File("bad.m3u").c_str()), 0);
    const CliRun run = RunCli("list a.mid '" + dir.File("bad.m3u") + "' b.mid");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("a.mid\n"), std::string::npos);
    EXPECT_NE(run.out.find("b.mid\n"), std::string::npos);
    EXPECT_NE(run.out.find(CLSError::CodeText(7)), std::string::npos);
    EXPECT_EQ(run.out.find("terminate"), std::string::npos);
}

TEST(CliPlayOrder, NamesOfTheFourOrders) {
    EXPECT_EQ(ParsePlayOrder("normal"), kPlayNormal);
    EXPECT_EQ(ParsePlayOrder("one"), kPlayRepeatOne);
    EXPECT_EQ(ParsePlayOrder("all"), kPlayRepeatAll);
    EXPECT_EQ(ParsePlayOrder("random"), kPlayRandom);
    EXPECT_EQ(ParsePlayOrder("shuffle"), -1);
}
