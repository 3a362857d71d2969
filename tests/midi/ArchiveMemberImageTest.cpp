#include "midi/ArchiveMemberImage.h"

#include "fixtures/ArchiveBuilder.h"
#include "fixtures/ErrorSummary.h"
#include "fixtures/FakeArchiveLibraries.h"
#include "fixtures/TestPaths.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

std::string Bytes(const ArchiveMemberImage& image) {
    return std::string(reinterpret_cast<const char*>(image.data.get()), image.length);
}

bool SpareBytesAreZero(const ArchiveMemberImage& image) {
    for (int i = 0; i < 8; ++i) {
        if (image.data.get()[image.length + i] != 0)
            return false;
    }
    return true;
}

class ArchiveExtraction : public ::testing::Test {
protected:
    bool Extract(const std::string& path) {
        return ExtractArchiveMember(this, CLSTString(path.c_str()), image);
    }

    TempDir dir;
    FakeArchiveLibraries libraries;
    ReportRecorder errors;
    ArchiveMemberImage image;
};

} // namespace

TEST_F(ArchiveExtraction, ReadsMembersWithSpacesFromZipAndLzh) {
    std::filesystem::create_directory(dir.File("my songs"));
    const std::string zip = dir.File("my songs/set one.zip");
    WriteZip(zip, {{"readme.txt", "r"}, {"dir/my song.mid", "MThd song data"}});
    ASSERT_TRUE(Extract(zip + ">dir/my song.mid"));
    EXPECT_EQ(Bytes(image), "MThd song data");
    EXPECT_TRUE(SpareBytesAreZero(image));

    const std::string lzh = dir.File("my songs/Old Set.LZH");
    std::filesystem::copy_file(DRUVEL_TEST_DATA "/lh5-song.lzh", lzh);
    ASSERT_TRUE(Extract(lzh + ">song one.mid"));
    EXPECT_EQ(Bytes(image), RepeatedNoteSong());
    EXPECT_TRUE(SpareBytesAreZero(image));
    EXPECT_EQ(errors.Reports().size(), 0u);
    EXPECT_EQ(libraries.loads, 2);
}

TEST_F(ArchiveExtraction, ReadsStoredLzhMembersOfEveryLevelAndEmptyMembers) {
    for (int level : {0, 1, 2}) {
        const std::string path = dir.File("l" + std::to_string(level) + ".lzh");
        WriteFileBytes(path,
                       BuildLzh({{"a.mid", "first"}, {"b.mid", "second"}, {"e.mid", ""}}, level));
        ASSERT_TRUE(Extract(path + ">B.MID")) << level;
        EXPECT_EQ(Bytes(image), "second");
        ASSERT_TRUE(Extract(path + ">e.mid")) << level;
        EXPECT_EQ(image.length, 0u);
        EXPECT_TRUE(SpareBytesAreZero(image));
    }
    EXPECT_EQ(errors.Reports().size(), 0u);
}

TEST_F(ArchiveExtraction, ReportsEachFailureWithItsCode) {
    const std::string zip = dir.File("a.zip");
    WriteZip(zip, {{"a.mid", "x"}});
    WriteFileBytes(dir.File("junk.zip"), std::string(1000, 'j'));

    EXPECT_FALSE(Extract(zip)); // no ">"
    EXPECT_FALSE(Extract(dir.File("a.7z>a.mid")));
    EXPECT_FALSE(Extract(dir.File("missing.zip>a.mid")));
    EXPECT_FALSE(Extract(dir.File("junk.zip>a.mid")));
    EXPECT_FALSE(Extract(zip + ">b.mid"));
    EXPECT_FALSE(image.data);
    EXPECT_EQ(ErrorSummary(errors),
              (std::vector<std::string>{ErrorAt(16, "MIDIDATA"), ErrorAt(12, "COMMON"),
                                        ErrorAt(10, "MIDIDATA"), ErrorAt(5, "MIDIDATA"),
                                        ErrorAt(5, "MIDIDATA"), ErrorAt(7, "MIDIDATA")}));
    for (const auto& entry : errors.Reports())
        EXPECT_EQ(entry.owner, this);
}

TEST_F(ArchiveExtraction, NeedsEveryFunctionItUses) {
    const std::string zip = dir.File("a.zip");
    WriteZip(zip, {{"a.mid", "x"}});
    for (const char* missing :
         {"OpenArchive", "CloseArchive", "FindFirst", "GetArcOriginalSize", "ExtractMem"}) {
        libraries.hidden = {missing};
        EXPECT_FALSE(Extract(zip + ">a.mid")) << missing;
    }
    libraries.hidden = {"FindNext", "GetFileName"}; // not needed to extract
    EXPECT_TRUE(Extract(zip + ">a.mid"));
    EXPECT_EQ(ErrorSummary(errors), std::vector<std::string>(5, ErrorAt(10, "MIDIDATA")));
}

TEST_F(ArchiveExtraction, RefusesStatedSizesItCannotTrust) {
    // A header stating gigabytes is refused before any allocation.
    const std::string bomb = dir.File("bomb.zip");
    WriteZip(bomb, {{"a.mid", std::string(4096, 'z')}});
    ForgeZipSizes(bomb, 0xC0000000u);
    EXPECT_FALSE(Extract(bomb + ">a.mid"));

    // Just beyond what any song needs.
    const std::string large = dir.File("large.zip");
    WriteZip(large, {{"a.mid", std::string(4096, 'z')}});
    ForgeZipSizes(large, static_cast<std::uint32_t>(kMaxArchiveMemberSize + 1));
    EXPECT_FALSE(Extract(large + ">a.mid"));

    // Data longer than stated: never written past the buffer, never handed on.
    const std::string longer = dir.File("longer.zip");
    WriteZip(longer, {{"a.mid", std::string(5000, 'q')}}, true);
    ForgeZipSizes(longer, 100);
    EXPECT_FALSE(Extract(longer + ">a.mid"));
    EXPECT_FALSE(image.data);
    ASSERT_EQ(errors.Reports().size(), 3u);
    EXPECT_EQ(ErrorSummary(errors)[0], ErrorAt(14, "MIDIDATA"));
    EXPECT_EQ(ErrorSummary(errors)[1], ErrorAt(14, "MIDIDATA"));
    EXPECT_EQ(ErrorSummary(errors)[2], ErrorAt(7, "MIDIDATA"));
}

TEST_F(ArchiveExtraction, DamagedDataIsAnErrorNotACrash) {
    const std::string zip = dir.File("damaged.zip");
    WriteZip(zip, {{"a.mid", std::string(20000, 'd') + "tail"}, {"b.mid", "bee"}});
    std::string bytes = ReadFileBytes(zip);
    for (std::size_t i = 40; i < 120 && i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
    WriteFileBytes(zip, bytes);
    EXPECT_FALSE(Extract(zip + ">a.mid"));
    WriteFileBytes(zip, bytes.substr(0, bytes.size() / 2));
    EXPECT_FALSE(Extract(zip + ">b.mid"));
    for (const std::string& line : ErrorSummary(errors))
        EXPECT_TRUE(line == ErrorAt(5, "MIDIDATA") || line == ErrorAt(7, "MIDIDATA")) << line;
    EXPECT_EQ(errors.Reports().size(), 2u);
}

TEST(QuoteSpaces, QuotesOnlyTextsWithSpaces) {
    EXPECT_STREQ(QuoteSpaces(CLSTString("a b.zip")).Text(), "\"a b.zip\"");
    EXPECT_STREQ(QuoteSpaces(CLSTString("ab.zip")).Text(), "ab.zip");
}

TEST_F(ArchiveExtraction, JapaneseNamesFromEitherKindOfArchive) {
    const std::string sjis = "\x8b\xc8 \x83\x41.mid"; // Shift-JIS, as archives from Windows hold
    const std::string utf8 = "\xe6\x9b\xb2 \xe3\x82\xa2.mid";
    WriteZip(dir.File("j.zip"), {{sjis, "zip"}});
    ASSERT_TRUE(Extract(dir.File("j.zip") + ">" + sjis)); // ZIP names stay as stored
    EXPECT_EQ(Bytes(image), "zip");
    // LHA names come as UTF-8, whether stored in Shift-JIS or UTF-8.
    WriteFileBytes(dir.File("j.lzh"), BuildLzh({{sjis, "sjis"}}, 1));
    ASSERT_TRUE(Extract(dir.File("j.lzh") + ">" + utf8));
    EXPECT_EQ(Bytes(image), "sjis");
    WriteFileBytes(dir.File("u.lzh"), BuildLzh({{"a.mid", "a"}, {utf8, "utf8"}}, 2));
    ASSERT_TRUE(Extract(dir.File("u.lzh") + ">" + utf8));
    EXPECT_EQ(Bytes(image), "utf8");
    EXPECT_EQ(errors.Reports().size(), 0u);
}
