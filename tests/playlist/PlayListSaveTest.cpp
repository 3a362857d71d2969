#include "playlist/CLSPlayList.h"

#include "fixtures/TestPaths.h"

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

TEST(SavingAPlayList, TheChosenFilterGivesTheMissingExtension) {
    EXPECT_STREQ(CLSPlayList::WithDefaultExtension(CLSTString("list"), 1).Text(), "list.m3u");
    EXPECT_STREQ(CLSPlayList::WithDefaultExtension(CLSTString("list"), 2).Text(), "list.lst");
    EXPECT_STREQ(CLSPlayList::WithDefaultExtension(CLSTString("list"), 3).Text(), "list");
    EXPECT_STREQ(CLSPlayList::WithDefaultExtension(CLSTString("a.b/list"), 1).Text(),
                 "a.b/list.m3u");
    EXPECT_STREQ(CLSPlayList::WithDefaultExtension(CLSTString("list.txt"), 1).Text(), "list.txt");
}
