#include "playlist/PlayListArguments.h"

#include "fixtures/ArchiveBuilder.h"
#include "fixtures/TestPaths.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace {

struct CliRun {
    int status;
    std::string out;
};

CliRun RunCli(const std::string& arguments) {
    const std::string command = std::string(DRUVEL_CLI) + " " + arguments + " 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    CliRun run{-1, ""};
    if (!pipe)
        return run;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.out.append(buffer, n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace

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
                              "' '" + dir.File("list.m3u") + "' other.kar");
    EXPECT_EQ(run.status, 0);
    const std::string d = dir.Path() + "/";
    EXPECT_EQ(run.out, d + "music/b.mid\n" + d + "music/sub/a.mid\n" + d +
                           "pack one.zip>dir/y.MID\n" + d + "pack one.zip>z.mid\n" + d +
                           "music/b.mid\n" + d + "pack one.zip>z.mid\n");
}

TEST(CliList, FailsOnPathsItCannotAddAndWithoutPaths) {
    TempDir dir;
    WriteFileBytes(dir.File("junk.zip"), "junk");
    const CliRun run = RunCli("list /nowhere/a.mid '" + dir.File("junk.zip") + "' /nowhere/x.m3u");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "/nowhere/a.mid\n");
    EXPECT_EQ(RunCli("list").status, 2);
}

TEST(CliPlayOrder, NamesOfTheFourOrders) {
    EXPECT_EQ(ParsePlayOrder("normal"), kPlayNormal);
    EXPECT_EQ(ParsePlayOrder("one"), kPlayRepeatOne);
    EXPECT_EQ(ParsePlayOrder("all"), kPlayRepeatAll);
    EXPECT_EQ(ParsePlayOrder("random"), kPlayRandom);
    EXPECT_EQ(ParsePlayOrder("shuffle"), -1);
}
