#include "playlist/CLSPlayList.h"

#include "fixtures/FileSizeLimit.h"
#include "fixtures/TestPaths.h"

#include <filesystem>
#include <gtest/gtest.h>

TEST(SavingAPlayList, WritesEveryPathWithCrLfAndNothingElse) {
    TempDir dir;
    CLSPlayList list;
    list.AppendSong(CLSTString("/m/a.mid"));
    list.AppendSong(CLSTString(" lead space.mid"));
    list.AppendSong(CLSTString("/m/p.lzh>dir\\b.mid"));
    list.SetCurrent(1);
    list.SetCurrentTitle(CLSTString("not written"));
    ASSERT_TRUE(list.SaveToFile(dir.File("out.m3u").c_str()));
    EXPECT_EQ(ReadFileBytes(dir.File("out.m3u")),
              "/m/a.mid\r\n lead space.mid\r\n/m/p.lzh>dir\\b.mid\r\n");

    // What was saved reads back as the same playlist.
    CLSPlayList again;
    EXPECT_TRUE(again.Add(CLSTString(dir.File("out.m3u").c_str()), false));
    ASSERT_EQ(again.Count(), 3u);
    EXPECT_STREQ(again.GetPath(2).Text(), "/m/p.lzh>dir\\b.mid");

    CLSPlayList empty;
    ASSERT_TRUE(empty.SaveToFile(dir.File("out.m3u").c_str()));
    EXPECT_EQ(ReadFileBytes(dir.File("out.m3u")), "");
    EXPECT_FALSE(list.SaveToFile(dir.File("no/such/folder.m3u").c_str()));
}

TEST(SavingAPlayList, AFullDiskFailsTheSaveInsteadOfEndingTheProgram) {
    CLSPlayList list;
    list.AppendSong(CLSTString("a.mid"));
    EXPECT_FALSE(list.SaveToFile("/dev/full"));
}

TEST(SavingAPlayList, AFailedWriteKeepsTheOldFileByteForByte) {
    TempDir dir;
    const std::string path = dir.File("old.m3u");
    const std::string old = "/m/keep.mid\r\n/m/this.mid\r\n";
    WriteFileBytes(path, old);
    CLSPlayList list;
    for (int i = 0; i < 50; ++i)
        list.AppendSong(CLSTString("/music/a rather long folder name/song.mid"));
    {
        FileSizeLimit limit(200);
        EXPECT_FALSE(list.SaveToFile(path.c_str()));
    }
    EXPECT_EQ(ReadFileBytes(path), old);
    // Nothing but the old file is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(SavingAPlayList, PathsThatSpanLinesAreLeftOut) {
    TempDir dir;
    CLSPlayList list;
    list.AppendSong(CLSTString("/m/a.mid"));
    list.AppendSong(CLSTString("/m/two\nlines.mid"));
    list.AppendSong(CLSTString("/m/cr\r.mid"));
    list.AppendSong(CLSTString("/m/b.mid"));
    ASSERT_TRUE(list.SaveToFile(dir.File("out.m3u").c_str()));
    EXPECT_EQ(ReadFileBytes(dir.File("out.m3u")), "/m/a.mid\r\n/m/b.mid\r\n");
}

TEST(SavingAPlayList, TheChosenFilterGivesTheMissingExtension) {
    EXPECT_STREQ(CLSPlayList::WithDefaultExtension(CLSTString("list"), 1).Text(), "list.m3u");
    EXPECT_STREQ(CLSPlayList::WithDefaultExtension(CLSTString("list"), 2).Text(), "list.lst");
    EXPECT_STREQ(CLSPlayList::WithDefaultExtension(CLSTString("list"), 3).Text(), "list");
    EXPECT_STREQ(CLSPlayList::WithDefaultExtension(CLSTString("a.b/list"), 1).Text(),
                 "a.b/list.m3u");
    EXPECT_STREQ(CLSPlayList::WithDefaultExtension(CLSTString("list.txt"), 1).Text(), "list.txt");
}
