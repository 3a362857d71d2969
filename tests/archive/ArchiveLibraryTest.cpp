#include "core/ArchiveLibrary.h"

#include "archive/ArchiveWildcard.h"
#include "fixtures/ArchiveBuilder.h"
#include "fixtures/ErrorSummary.h"
#include "fixtures/FakeArchiveLibraries.h"
#include "fixtures/TestPaths.h"

#include <gtest/gtest.h>

namespace {

// Member names as the table's find functions report them, with the library's own sizes.
std::vector<std::string> FindAll(ArchiveFunctionTable& table, const std::string& archivePath,
                                 const char* wildcard,
                                 std::vector<std::uint32_t>* sizes = nullptr) {
    std::vector<std::string> names;
    ArchiveHandle archive = table.openArchive(nullptr, archivePath.c_str(), kArchiveOpenMode);
    if (!archive)
        return {"<not opened>"};
    ArchiveMemberRecord record{};
    for (int found = table.findFirst(archive, wildcard, &record); found == 0;
         found = table.findNext(archive, &record)) {
        names.push_back(record.fileName);
        if (sizes)
            sizes->push_back(record.originalSize);
    }
    table.closeArchive(archive);
    return names;
}

} // namespace

TEST(LoadArchiveLibrary, ChoosesTheLibraryByExtensionWithoutRegardToCase) {
    FakeArchiveLibraries libraries;
    ReportRecorder errors;
    ArchiveFunctionTable table;
    EXPECT_TRUE(LoadArchiveLibrary(nullptr, CLSTString("/x/SONGS.LZH"), table));
    EXPECT_TRUE(table.library && table.openArchive && table.closeArchive && table.findFirst &&
                table.findNext && table.getFileName && table.getOriginalSize && table.extractMem);
    EXPECT_TRUE(LoadArchiveLibrary(nullptr, CLSTString("a.Zip"), table));
    EXPECT_EQ(libraries.loads, 2);
    EXPECT_EQ(errors.Reports().size(), 0u);
}

TEST(LoadArchiveLibrary, RefusesOtherKindsWithoutLoadingAnything) {
    FakeArchiveLibraries libraries;
    ReportRecorder errors;
    ArchiveFunctionTable table;
    for (const char* path : {"a.7z", "a.zip.rar", "zip", "dir.zip/a"}) {
        EXPECT_FALSE(LoadArchiveLibrary(nullptr, CLSTString(path), table)) << path;
        EXPECT_FALSE(table.library);
    }
    EXPECT_EQ(libraries.loads, 0);
    ASSERT_EQ(errors.Reports().size(), 4u);
    EXPECT_EQ(ErrorSummary(errors)[0], ErrorAt(12, "COMMON"));
}

TEST(LoadArchiveLibrary, ReportsLibrariesThatCannotBeUsed) {
    FakeArchiveLibraries libraries;
    ReportRecorder errors;
    ArchiveFunctionTable table;
    libraries.unloadable = true;
    EXPECT_FALSE(LoadArchiveLibrary(nullptr, CLSTString("a.lzh"), table));
    EXPECT_FALSE(LoadArchiveLibrary(nullptr, CLSTString("a.zip"), table));
    libraries.unloadable = false;
    libraries.hidden = {"QueryFunctionList"};
    EXPECT_FALSE(LoadArchiveLibrary(nullptr, CLSTString("a.lzh"), table));
    EXPECT_FALSE(table.library);
    EXPECT_EQ(ErrorSummary(errors),
              (std::vector<std::string>{ErrorAt(2, "COMMON"), ErrorAt(3, "COMMON"),
                                        ErrorAt(12, "COMMON")}));
}

TEST(LoadArchiveLibrary, AsksTheFunctionListBeforeLookingUpButNotForExtraction) {
    FakeArchiveLibraries libraries;
    libraries.unavailable = {kArcGetFileName, kArcFindNext};
    libraries.hidden = {"CloseArchive"};
    ArchiveFunctionTable table;
    ASSERT_TRUE(LoadArchiveLibrary(nullptr, CLSTString("a.zip"), table));
    EXPECT_FALSE(table.getFileName);
    EXPECT_FALSE(table.findNext);
    EXPECT_FALSE(table.closeArchive); // offered but missing: stays empty
    EXPECT_TRUE(table.openArchive && table.findFirst && table.getOriginalSize);
    libraries.unavailable = {kArcOpenArchive,
                             kArcCloseArchive,
                             kArcFindFirst,
                             kArcFindNext,
                             kArcGetFileName,
                             kArcGetArcOriginalSize,
                             0,
                             1,
                             99};
    ASSERT_TRUE(LoadArchiveLibrary(nullptr, CLSTString("a.zip"), table));
    EXPECT_TRUE(table.extractMem);
}

TEST(IsArchivePath, MembersAndArchiveExtensions) {
    EXPECT_TRUE(IsArchivePath("a.zip"));
    EXPECT_TRUE(IsArchivePath("/m/A.LZH"));
    EXPECT_TRUE(IsArchivePath("a.lzh>dir/b.mid"));
    EXPECT_TRUE(IsArchivePath("x>y"));
    EXPECT_FALSE(IsArchivePath("a.mid"));
    EXPECT_FALSE(IsArchivePath("a.zip/b.mid"));
    EXPECT_FALSE(IsArchivePath("a.7z"));
}

TEST(ArchiveWildcard, MatchesAsTheArchiveToolsDo) {
    EXPECT_TRUE(MatchArchiveWildcard("*.mid", "a.mid"));
    EXPECT_TRUE(MatchArchiveWildcard("*.mid", "dir/sub\\A.MID"));
    EXPECT_FALSE(MatchArchiveWildcard("*.mid", "a.midi"));
    EXPECT_FALSE(MatchArchiveWildcard("*.mid", "a.mid/"));
    EXPECT_TRUE(MatchArchiveWildcard("*.*", "README"));
    EXPECT_TRUE(MatchArchiveWildcard("*", ""));
    EXPECT_TRUE(MatchArchiveWildcard("s?ng*.MID", "song 1.mid"));
    EXPECT_TRUE(MatchArchiveWildcard("dir/a.mid", "DIR\\a.mid"));
    EXPECT_TRUE(MatchArchiveWildcard("a[1].mid", "a[1].mid"));
    EXPECT_FALSE(MatchArchiveWildcard("a[1].mid", "a1.mid"));
    EXPECT_EQ(SplitArchiveWords("\"my dir/x y.zip\" \"a b.mid\"  c.mid"),
              (std::vector<std::string>{"my dir/x y.zip", "a b.mid", "c.mid"}));
}

TEST(BuiltinArchiveLibrary, ListsStoredLhaMembersOfEveryHeaderLevel) {
    TempDir dir;
    ArchiveFunctionTable table;
    ASSERT_TRUE(LoadArchiveLibrary(nullptr, CLSTString("x.lzh"), table));
    for (int level : {0, 1, 2}) {
        const std::string path = dir.File("level" + std::to_string(level) + ".lzh");
        WriteFileBytes(path,
                       BuildLzh({{"a.mid", "MThd1"}, {"b c.MID", "xy"}, {"n.txt", ""}}, level));
        std::vector<std::uint32_t> sizes;
        EXPECT_EQ(FindAll(table, path, "*.mid", &sizes),
                  (std::vector<std::string>{"a.mid", "b c.MID"}))
            << "level " << level;
        EXPECT_EQ(sizes, (std::vector<std::uint32_t>{5, 2}));
        EXPECT_EQ(FindAll(table, path, "*.mid *.txt").size(), 3u);
    }
}

TEST(BuiltinArchiveLibrary, EachLibraryOpensOnlyItsOwnKind) {
    TempDir dir;
    WriteZip(dir.File("a.zip"), {{"a.mid", "x"}});
    WriteFileBytes(dir.File("a.lzh"), BuildLzh({{"a.mid", "x"}}, 1));
    WriteFileBytes(dir.File("junk.zip"), std::string(300, '\x5A'));
    ArchiveFunctionTable lha;
    ArchiveFunctionTable zip;
    ASSERT_TRUE(LoadArchiveLibrary(nullptr, CLSTString("x.lzh"), lha));
    ASSERT_TRUE(LoadArchiveLibrary(nullptr, CLSTString("x.zip"), zip));
    EXPECT_EQ(FindAll(zip, dir.File("a.zip"), "*"), std::vector<std::string>{"a.mid"});
    EXPECT_EQ(FindAll(lha, dir.File("a.lzh"), "*"), std::vector<std::string>{"a.mid"});
    EXPECT_EQ(FindAll(lha, dir.File("a.zip"), "*"), std::vector<std::string>{"<not opened>"});
    EXPECT_EQ(FindAll(zip, dir.File("junk.zip"), "*"), std::vector<std::string>{"<not opened>"});
    EXPECT_EQ(FindAll(zip, dir.File("missing.zip"), "*"), std::vector<std::string>{"<not opened>"});
}

TEST(BuiltinArchiveLibrary, SizeAndNameFollowTheFindAndStaleHandlesAreRefused) {
    TempDir dir;
    const std::string path = dir.File("a.zip");
    WriteZip(path, {{"one.mid", std::string(10, 'a')}, {"two.mid", std::string(7, 'b')}});
    ArchiveFunctionTable table;
    ASSERT_TRUE(LoadArchiveLibrary(nullptr, CLSTString(path.c_str()), table));
    ArchiveHandle archive = table.openArchive(nullptr, path.c_str(), kArchiveOpenMode);
    ASSERT_TRUE(archive);
    EXPECT_EQ(table.getOriginalSize(archive), -1); // nothing found yet
    EXPECT_EQ(table.findFirst(archive, "TWO.MID", nullptr), 0);
    EXPECT_EQ(table.getOriginalSize(archive), 7);
    char name[kArchiveNameBufferSize];
    EXPECT_EQ(table.getFileName(archive, name, sizeof name), 0);
    EXPECT_STREQ(name, "two.mid");
    EXPECT_EQ(table.findFirst(archive, "*.mid", nullptr), 0);
    EXPECT_EQ(table.getOriginalSize(archive), 17);
    EXPECT_NE(table.findFirst(archive, "none.mid", nullptr), 0);
    EXPECT_EQ(table.getOriginalSize(archive), -1);
    EXPECT_EQ(table.closeArchive(archive), 0);
    EXPECT_NE(table.closeArchive(archive), 0);
    EXPECT_NE(table.findFirst(archive, "*", nullptr), 0);
    EXPECT_EQ(table.getOriginalSize(archive), -1);
}
