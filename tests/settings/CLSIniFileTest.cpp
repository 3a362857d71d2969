#include "settings/CLSIniFile.h"
#include "settings/CLSIniWriter.h"

#include "fixtures/ExpectError.h"
#include "fixtures/IniBuilder.h"
#include "fixtures/TestPaths.h"

#include <gtest/gtest.h>

#include <string>

namespace {

CLSIniFile Parse(std::initializer_list<std::string> lines) {
    CLSIniFile ini;
    for (const std::string& line : lines)
        ini.ParseLine(CLSTString(line.c_str()));
    return ini;
}

// The value of section/key as bytes, or "<none>".
std::string Value(const CLSIniFile& ini, const char* section, const char* key) {
    const CLSIniSection* s = ini.Section(section);
    const CLSTString* v = s ? CLSIniFile::Find(*s, key) : nullptr;
    return v ? std::string(v->Text(), v->Length()) : "<none>";
}

int IntOf(const char* value, int before = -7) {
    CLSIniSection section;
    section[CLSTString("K")] = CLSTString(value);
    CLSIniFile::ReadInt(section, "K", before);
    return before;
}

} // namespace

TEST(CLSIniParse, SectionsAndKeysMatchIgnoringCaseValuesStayExact) {
    const CLSIniFile ini = Parse({"Left=5", "[window]", "LEFT=100", "Path=C:\\Songs\\A.mid"});
    EXPECT_EQ(Value(ini, "Window", "Left"), "100");
    EXPECT_EQ(Value(ini, "WINDOW", "path"), "C:\\Songs\\A.mid");
    EXPECT_EQ(ini.Sections().size(), 1u); // the key before any section went nowhere
}

TEST(CLSIniParse, LastHeaderOfASectionWinsAndLaterKeysReplaceEarlierOnes) {
    const CLSIniFile ini =
        Parse({"[Window]", "Left=1", "[Other]", "[WINDOW]", "Top=2", "Top=3", "top=4"});
    EXPECT_EQ(Value(ini, "Window", "Left"), "<none>");
    EXPECT_EQ(Value(ini, "Window", "Top"), "4");
    EXPECT_NE(ini.Section("other"), nullptr);
}

TEST(CLSIniParse, BlanksCountAndThereAreNoComments) {
    const CLSIniFile ini = Parse({"[Window]", "Left = 5", ";Top=5", "Width=", "RecentFile1=a=b",
                                  "no equals sign", "", " [Color]", "[Recent", "x=1"});
    EXPECT_EQ(Value(ini, "Window", "Left"), "<none>");
    EXPECT_EQ(Value(ini, "Window", "Left "), " 5");
    EXPECT_EQ(Value(ini, "Window", ";Top"), "5");
    EXPECT_EQ(Value(ini, "Window", "Width"), "");
    EXPECT_EQ(Value(ini, "Window", "RecentFile1"), "a=b");
    EXPECT_EQ(Value(ini, "Window", "x"), "1"); // "[Recent" without ']' opened nothing
    EXPECT_EQ(Value(ini, "Window", "[Recent"), "<none>");
    EXPECT_EQ(ini.Section("Color"), nullptr);
    EXPECT_EQ(ini.Section("Recent"), nullptr);
}

TEST(CLSIniParse, HeaderEndsAtTheFirstCloseBracket) {
    const CLSIniFile ini =
        Parse({"[Window]xyz", "A=1", "[]", "B=2", "[a]b]", "C=3", "[\x83\x5D]", "D=4"});
    EXPECT_EQ(Value(ini, "Window", "A"), "1");
    EXPECT_EQ(Value(ini, "", "B"), "2");
    EXPECT_EQ(Value(ini, "a", "C"), "3");
    // 0x83 0x5D is one double-byte character: its trail byte is no ']'.
    EXPECT_EQ(Value(ini, "\x83\x5D", "D"), "4");
}

TEST(CLSIniRead, FileWithEveryLineEndAndMissingFile) {
    TempDir dir;
    WriteFileBytes(dir.File("a.ini"), "[Window]\rLeft=1\nTop=2\r\n\r\n[Color]\r\nX=0x0000FF");
    CLSIniFile ini;
    ASSERT_TRUE(ini.Read(dir.File("a.ini").c_str()));
    EXPECT_EQ(Value(ini, "Window", "Left"), "1");
    EXPECT_EQ(Value(ini, "Window", "Top"), "2");
    EXPECT_EQ(Value(ini, "Color", "X"), "0x0000FF");
    CLSIniFile none;
    EXPECT_FALSE(none.Read(dir.File("missing.ini").c_str()));
    EXPECT_TRUE(none.Sections().empty());
    EXPECT_TRUE(ThrowsCLSError([&] { none.Read("/proc/self/mem"); }, 7, "READLINE"));
}

TEST(CLSIniTyped, IntegersFlagsAndColours) {
    EXPECT_EQ(IntOf(""), 0);
    EXPECT_EQ(IntOf("abc"), 0);
    EXPECT_EQ(IntOf("0x10"), 16);
    EXPECT_EQ(IntOf("0x000010"), 0x100000);
    EXPECT_EQ(IntOf("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(IntOf("99999"), 99999); // no range test while reading

    CLSIniSection s;
    s[CLSTString("On")] = CLSTString("1");
    s[CLSTString("True")] = CLSTString("true");
    s[CLSTString("Two")] = CLSTString("2");
    s[CLSTString("Hex")] = CLSTString("0x1");
    int flags = 0x30;
    CLSIniFile::ReadFlag(s, "On", 0x01, flags);
    CLSIniFile::ReadFlag(s, "True", 0x10, flags);
    CLSIniFile::ReadFlag(s, "Two", 0x20, flags);
    CLSIniFile::ReadFlag(s, "Hex", 0x02, flags);
    CLSIniFile::ReadFlag(s, "Absent", 0x04, flags);
    EXPECT_EQ(flags, 0x03);
    int absentStays = 0x04;
    CLSIniFile::ReadFlag(s, "Absent", 0x04, absentStays);
    EXPECT_EQ(absentStays, 0x04);

    std::uint32_t color = 0x123456;
    s[CLSTString("C")] = CLSTString("0xFF0000");
    CLSIniFile::ReadColor(s, "C", color);
    EXPECT_EQ(color, 0x0000FFu);
    CLSIniFile::ReadColor(s, "Absent", color);
    EXPECT_EQ(color, 0x0000FFu);
}

TEST(CLSIniWrite, LineForms) {
    TempDir dir;
    const std::string path = dir.File("w.ini");
    {
        CLSFileWriteString file;
        ASSERT_TRUE(file.Open(path.c_str()));
        CLSIniWriter ini(file);
        ini.Section("Window");
        ini.Int("Left", -2147483647 - 1);
        ini.Int("Top", -1);
        ini.Flag("Show", true);
        ini.Flag("Hide", false);
        ini.Color("SpectrumTop", 0x0000FF);
        ini.Color("Mixed", 0xFFABCDEF); // the fourth byte is not part of a colour
        ini.Text("Path", CLSTString("a=b \x95\x5C"));
        ini.Separator();
        ini.Section("");
    }
    EXPECT_EQ(ReadFileBytes(path),
              IniLines({"[Window]", "Left=-2147483648", "Top=-1", "Show=1", "Hide=0",
                        "SpectrumTop=0xFF0000", "Mixed=0xEFCDAB", "Path=a=b \x95\x5C", "", "[]"}));
    EXPECT_STREQ(CLSIniWriter::ColorText(0x00C8FFFF).Text(), "0xFFFFC8");
}
