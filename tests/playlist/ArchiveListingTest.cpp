#include "playlist/ArchiveListing.h"

#include "fixtures/ArchiveBuilder.h"
#include "fixtures/ErrorSummary.h"
#include "fixtures/FakeArchiveLibraries.h"
#include "fixtures/TestPaths.h"

#include <gtest/gtest.h>

namespace {

class Listing : public ::testing::Test {
protected:
    void SetUp() override {
        WriteZip(zip, {{"dir/", ""},
                       {"dir/a.mid", "a"},
                       {"B.MID", "b"},
                       {"c.txt", "c"},
                       {"with space.mid", "s"}});
    }
    std::vector<std::string> List(const std::string& path, const char* filter = "*.mid") {
        CLSTStringArray names;
        if (!ListArchiveMembers(this, CLSTString(path.c_str()), filter, names))
            return {"<failed>"};
        std::vector<std::string> out;
        for (const CLSTString& name : names)
            out.push_back(name.Text());
        return out;
    }

    TempDir dir;
    std::string zip = dir.File("songs.zip");
    FakeArchiveLibraries libraries;
    ReportRecorder errors;
};

} // namespace

TEST_F(Listing, ListsMatchingMembersWithoutFolders) {
    EXPECT_EQ(List(zip), (std::vector<std::string>{"dir/a.mid", "B.MID", "with space.mid"}));
    EXPECT_EQ(List(zip, "*.*").size(), 4u);
    EXPECT_EQ(List(zip, "*.rmi"), std::vector<std::string>{});
    EXPECT_EQ(errors.Reports().size(), 0u);
    EXPECT_EQ(libraries.loads, 3); // nothing is cached between tasks
}

TEST_F(Listing, TakesNamesFromTheMemberRecordWhenTheLibraryHasNoNameFunction) {
    libraries.unavailable = {kArcGetFileName};
    EXPECT_EQ(List(zip), (std::vector<std::string>{"dir/a.mid", "B.MID", "with space.mid"}));
    libraries.unavailable = {};
    libraries.hidden = {"GetFileName"};
    EXPECT_EQ(List(zip).size(), 3u);
}

TEST_F(Listing, ReportsMissingFunctionsAndUnreadableArchives) {
    for (const char* missing : {"OpenArchive", "CloseArchive", "FindFirst", "FindNext"}) {
        libraries.hidden = {missing};
        EXPECT_EQ(List(zip), std::vector<std::string>{"<failed>"}) << missing;
    }
    libraries.hidden = {};
    WriteFileBytes(dir.File("junk.lzh"), "not an archive at all");
    EXPECT_EQ(List(dir.File("junk.lzh")), std::vector<std::string>{"<failed>"});
    EXPECT_EQ(List(dir.File("a.rar")), std::vector<std::string>{"<failed>"});
    std::vector<std::string> expected(4, ErrorAt(10, "PLAYLIST"));
    expected.push_back(ErrorAt(5, "PLAYLIST"));
    expected.push_back(ErrorAt(12, "COMMON"));
    EXPECT_EQ(ErrorSummary(errors), expected);
    for (const auto& entry : errors.Reports())
        EXPECT_EQ(entry.owner, this);
}

TEST(SortMemberNames, SortsAsTheChoosersListDoes) {
    CLSTStringArray names;
    for (const char* name : {"b.mid", "A.mid", "a.mid", "B2.mid", "_x.mid"})
        names.push_back(CLSTString(name));
    SortMemberNames(names);
    std::string joined;
    for (const CLSTString& name : names)
        joined += std::string(name.Text()) + ",";
    EXPECT_EQ(joined, "_x.mid,A.mid,a.mid,b.mid,B2.mid,");
}

TEST_F(Listing, ListsLhaNamesAsUtf8WhateverTheyWereStoredIn) {
    WriteFileBytes(dir.File("j.lzh"), BuildLzh({{"\x8b\xc8.mid", "s"}, {"dir\\a.mid", "a"}}, 0));
    EXPECT_EQ(List(dir.File("j.lzh")), (std::vector<std::string>{"\xe6\x9b\xb2.mid", "dir/a.mid"}));
    WriteFileBytes(dir.File("u.lzh"), BuildLzh({{"\xe6\x9b\xb2.mid", "u"}}, 1));
    EXPECT_EQ(List(dir.File("u.lzh")), std::vector<std::string>{"\xe6\x9b\xb2.mid"});
}
