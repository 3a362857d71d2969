#include "playlist/CLSPlayList.h"
#include "playlist/CLSPlayListAdder.h"
#include "settings/CLSDRUVSettings.h"

#include "fixtures/ArchiveBuilder.h"
#include "fixtures/ErrorSummary.h"
#include "fixtures/FakeArchiveLibraries.h"
#include "fixtures/FifoTimeLimit.h"
#include "fixtures/TestPaths.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using Class = CLSPlayListAdder::PathClass;

class Adding : public ::testing::Test {
protected:
    bool Add(const std::string& path, bool subfolders = false) {
        return list.Add(CLSTString(path.c_str()), subfolders);
    }
    // The paths of the playlist, with the test folder's path cut off the front.
    std::vector<std::string> Paths() const {
        std::vector<std::string> paths;
        for (unsigned i = 0; i < list.Count(); ++i) {
            std::string path = list.GetPath(i).Text();
            if (path.rfind(dir.Path() + "/", 0) == 0)
                path.erase(0, dir.Path().size() + 1);
            paths.push_back(path);
        }
        return paths;
    }
    void Touch(const std::string& name) { WriteFileBytes(dir.File(name), ""); }
    void Folder(const std::string& name) { std::filesystem::create_directories(dir.File(name)); }

    TempDir dir;
    CLSPlayList list;
    ReportRecorder errors;
};

// Remembers what it was asked and answers as told.
class ScriptedChooser : public CLSArchiveChooser {
public:
    bool Choose(OwnerWindow, const CLSTString& archivePath, int& width, int& height,
                CLSTStringArray& chosen) override {
        asked.push_back(archivePath.Text());
        openedAt = {width, height};
        width = 640;
        height = 480;
        for (const char* name : answer)
            chosen.push_back(CLSTString(name));
        return !cancel;
    }
    std::vector<std::string> asked;
    std::pair<int, int> openedAt;
    std::vector<const char*> answer;
    bool cancel = false;
};

} // namespace

TEST(PathClassification, ByExtensionWithoutRegardToCase) {
    EXPECT_EQ(CLSPlayListAdder::Classify("a.mid"), Class::kSong);
    EXPECT_EQ(CLSPlayListAdder::Classify("/x/A.MID"), Class::kSong);
    EXPECT_EQ(CLSPlayListAdder::Classify("a.Smf"), Class::kSong);
    EXPECT_EQ(CLSPlayListAdder::Classify("a.rmi"), Class::kSong);
    EXPECT_EQ(CLSPlayListAdder::Classify("a.zip>readme.txt"), Class::kSong);
    EXPECT_EQ(CLSPlayListAdder::Classify("a.M3U"), Class::kPlayListFile);
    EXPECT_EQ(CLSPlayListAdder::Classify("a.lst"), Class::kPlayListFile);
    EXPECT_EQ(CLSPlayListAdder::Classify("a.txt"), Class::kPlayListFile);
    EXPECT_EQ(CLSPlayListAdder::Classify("a.LZH"), Class::kArchive);
    EXPECT_EQ(CLSPlayListAdder::Classify("a.zip"), Class::kArchive);
    EXPECT_EQ(CLSPlayListAdder::Classify("a.KAR"), Class::kSong); // soft karaoke
    EXPECT_EQ(CLSPlayListAdder::Classify("a.midi"), Class::kOther);
    EXPECT_EQ(CLSPlayListAdder::Classify("a.mid/b"), Class::kOther);
    EXPECT_EQ(CLSPlayListAdder::Classify(".mid.d/x"), Class::kOther);
}

TEST_F(Adding, SongsAreAddedUnreadAndOtherFilesIgnored) {
    EXPECT_TRUE(Add("/nowhere/a.MID"));
    EXPECT_TRUE(Add("/nowhere/b.kar"));
    EXPECT_TRUE(Add("/nowhere/x.zip>dir/c.mid"));
    EXPECT_TRUE(Add("/nowhere/d.doc"));
    EXPECT_EQ(Paths(), (std::vector<std::string>{"/nowhere/a.MID", "/nowhere/b.kar",
                                                 "/nowhere/x.zip>dir/c.mid"}));
    EXPECT_EQ(errors.Reports().size(), 0u);
}

TEST_F(Adding, FolderSearchAddsOnlySongsInNameOrder) {
    Folder("m/sub/deeper");
    for (const char* name : {"m/b.mid", "m/A.mid", "m/c.m3u", "m/d.zip", "m/e.txt", "m/sub/s.smf",
                             "m/sub/deeper/t.rmi", "m/zz.MID", "m/k.kar"})
        Touch(name);
    WriteFileBytes(dir.File("m/c.m3u"), "/elsewhere/x.mid\n");
    EXPECT_TRUE(Add(dir.File("m")));
    EXPECT_EQ(Paths(), (std::vector<std::string>{"m/A.mid", "m/b.mid", "m/k.kar", "m/zz.MID"}));
    list.DeleteSelected();
    while (list.Count())
        list.Delete(0);
    EXPECT_TRUE(Add(dir.File("m") + "/", true));
    EXPECT_EQ(Paths(), (std::vector<std::string>{"m/A.mid", "m/b.mid", "m/k.kar",
                                                 "m/sub/deeper/t.rmi", "m/sub/s.smf", "m/zz.MID"}));
}

TEST_F(Adding, FifosNamedLikeSongsOrListsAreNeitherAddedNorWaitedFor) {
    Folder("m");
    Touch("m/a.mid");
    ASSERT_TRUE(MakeFifo(dir.File("m/pipe.mid")));
    ASSERT_TRUE(MakeFifo(dir.File("list.m3u")));
    const auto searched =
        CallWithFifoTimeLimit(dir.File("m/pipe.mid"), [&] { return Add(dir.File("m")); });
    ASSERT_TRUE(searched.has_value());
    EXPECT_EQ(Paths(), (std::vector<std::string>{"m/a.mid"}));
    const auto read =
        CallWithFifoTimeLimit(dir.File("list.m3u"), [&] { return Add(dir.File("list.m3u")); });
    ASSERT_TRUE(read.has_value()) << "a FIFO named as a playlist file was waited for";
    EXPECT_EQ(list.Count(), 1u);
}

TEST_F(Adding, FolderLinksThatLoopAreSearchedOnce) {
    Folder("m/sub");
    Touch("m/a.mid");
    Touch("m/sub/b.mid");
    ASSERT_EQ(::symlink(dir.File("m").c_str(), dir.File("m/sub/back").c_str()), 0);
    EXPECT_TRUE(Add(dir.File("m"), true));
    EXPECT_EQ(Paths(), (std::vector<std::string>{"m/a.mid", "m/sub/b.mid"}));
    EXPECT_TRUE(Add(dir.File("missing-folder/"), true));
}

TEST_F(Adding, PlayListLinesAreTakenAsReadExceptComments) {
    WriteFileBytes(dir.File("list.m3u"), "#EXTM3U\r\n#EXTINF:1,x\r\n/abs/a.mid\r\n\r\n"
                                         " /abs/b.mid\r\n#/abs/c.mid\r\n/abs/d.kar\r\n"
                                         "/abs/e.zip>f g.mid\n/abs/h.smf");
    EXPECT_TRUE(Add(dir.File("list.m3u")));
    EXPECT_EQ(Paths(), (std::vector<std::string>{"/abs/a.mid", " /abs/b.mid", "/abs/d.kar",
                                                 "/abs/e.zip>f g.mid", "/abs/h.smf"}));
    EXPECT_FALSE(Add(dir.File("missing.lst")));
    EXPECT_EQ(errors.Reports().size(), 0u);
}

TEST_F(Adding, PlayListsIncludingThemselvesAreReadOncePerAdd) {
    WriteFileBytes(dir.File("self.m3u"),
                   "1.mid\n" + dir.File("SELF.M3U") + "\n" + dir.File("self.m3u") + "\n2.mid\n");
    EXPECT_TRUE(Add(dir.File("self.m3u")));
    EXPECT_EQ(Paths(), (std::vector<std::string>{"1.mid", "2.mid"}));

    WriteFileBytes(dir.File("a.lst"), "a.mid\n" + dir.File("b.txt") + "\n");
    WriteFileBytes(dir.File("b.txt"), "b.mid\n" + dir.File("a.lst") + "\n");
    EXPECT_TRUE(Add(dir.File("a.lst")));
    EXPECT_EQ(Paths(), (std::vector<std::string>{"1.mid", "2.mid", "a.mid", "b.mid"}));

    // Listed twice, one after the other: read twice.
    WriteFileBytes(dir.File("twice.m3u"), dir.File("b.txt") + "\n" + dir.File("b.txt") + "\n");
    EXPECT_TRUE(Add(dir.File("twice.m3u")));
    EXPECT_EQ(Paths(), (std::vector<std::string>{"1.mid", "2.mid", "a.mid", "b.mid", "b.mid",
                                                 "a.mid", "b.mid", "a.mid"}));
}

TEST_F(Adding, PlayListsReachedThroughALinkAreStillCaught) {
    WriteFileBytes(dir.File("loop.m3u"), "x.mid\n" + dir.File("alias.m3u") + "\n");
    ASSERT_EQ(::symlink(dir.File("loop.m3u").c_str(), dir.File("alias.m3u").c_str()), 0);
    EXPECT_TRUE(Add(dir.File("loop.m3u")));
    EXPECT_EQ(Paths(), (std::vector<std::string>{"x.mid"}));
}

TEST_F(Adding, RelativeLinesFallBackToThePlayListsFolder) {
    Folder("lists/songs");
    Touch("lists/songs/a.mid");
    WriteZip(dir.File("lists/pack.zip"), {{"z.mid", "z"}});
    WriteFileBytes(dir.File("lists/other.m3u"), "songs/a.mid\n");
    WriteFileBytes(dir.File("lists/list.m3u"),
                   "songs/a.mid\nsongs/missing.mid\npack.zip>z.mid\nother.m3u\n");
    // A line that exists as given from the current folder stays as it is.
    const std::string cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.File("lists"));
    EXPECT_TRUE(Add("list.m3u"));
    std::filesystem::current_path(dir.Path());
    EXPECT_TRUE(Add("lists/list.m3u"));
    std::filesystem::current_path(cwd);
    EXPECT_EQ(Paths(),
              (std::vector<std::string>{"songs/a.mid", "songs/missing.mid", "pack.zip>z.mid",
                                        "songs/a.mid", "lists/songs/a.mid", "songs/missing.mid",
                                        "lists/pack.zip>z.mid", "lists/songs/a.mid"}));
}

TEST_F(Adding, ArchivesGoThroughTheChooser) {
    ScriptedChooser chooser;
    list.SetArchiveChooser(&chooser);
    chooser.answer = {"dir/a.mid", "b.txt"};
    EXPECT_TRUE(Add("/x/Pack.LZH"));
    EXPECT_EQ(Paths(), (std::vector<std::string>{"/x/Pack.LZH>dir/a.mid", "/x/Pack.LZH>b.txt"}));
    EXPECT_STREQ(list.GetEntry(0)->DisplayName().Text(), "a.mid");
    EXPECT_EQ(chooser.openedAt, (std::pair<int, int>{400, 300}));
    EXPECT_EQ(list.GetArchiveDialogWidth(), 640);
    EXPECT_EQ(list.GetArchiveDialogHeight(), 480);

    chooser.cancel = true;
    EXPECT_FALSE(Add("/x/q.zip"));
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(chooser.openedAt, (std::pair<int, int>{640, 480}));
    EXPECT_EQ(chooser.asked, (std::vector<std::string>{"/x/Pack.LZH", "/x/q.zip"}));
}

TEST_F(Adding, WithoutAWindowEveryMidMemberIsChosenInListOrder) {
    FakeArchiveLibraries libraries;
    WriteZip(
        dir.File("p.zip"),
        {{"dir/", ""}, {"dir/b.mid", "b"}, {"A.MID", "a"}, {"notes.txt", "t"}, {"c d.mid", "c"}});
    WriteFileBytes(dir.File("old.LZH"), BuildLzh({{"x.mid", "x"}}, 0));
    EXPECT_TRUE(Add(dir.File("p.zip")));
    EXPECT_TRUE(Add(dir.File("old.LZH")));
    EXPECT_EQ(Paths(), (std::vector<std::string>{"p.zip>A.MID", "p.zip>c d.mid", "p.zip>dir/b.mid",
                                                 "old.LZH>x.mid"}));
    EXPECT_FALSE(Add(dir.File("missing.zip")));
    EXPECT_TRUE(Add(dir.File("a.zip.7z"))); // not an archive: ignored
    EXPECT_EQ(ErrorSummary(errors), std::vector<std::string>{ErrorAt(5, "PLAYLIST")});
}

// A playlist file that fails while it is read (here a link to a file every read of which fails
// with EIO) is reported and skipped; the rest of the add goes on and the run can still save.
TEST_F(Adding, AnUnreadablePlayListFileIsReportedAndSkipped) {
    ASSERT_EQ(::symlink("/proc/self/mem", dir.File("bad.m3u").c_str()), 0);
    WriteFileBytes(dir.File("outer.m3u"), "1.mid\n" + dir.File("bad.m3u") + "\n2.mid\n");
    EXPECT_TRUE(Add(dir.File("outer.m3u")));
    EXPECT_FALSE(Add(dir.File("bad.m3u")));
    EXPECT_TRUE(Add("3.mid"));
    EXPECT_EQ(Paths(), (std::vector<std::string>{"1.mid", "2.mid", "3.mid"}));
    EXPECT_EQ(ErrorSummary(errors),
              (std::vector<std::string>{ErrorAt(7, "READLINE"), ErrorAt(7, "READLINE")}));

    // The same playlist file can be read again later: it was not left marked as open.
    WriteFileBytes(dir.File("again.m3u"), dir.File("outer.m3u") + "\n");
    EXPECT_TRUE(Add(dir.File("again.m3u")));
    EXPECT_EQ(list.Count(), 5u);

    CLSDRUVSettings settings;
    settings.SetPlayListItems(list.GetPaths());
    EXPECT_TRUE(settings.Save(dir.File("DRUV.INI").c_str()));
}
