#include "settings/CLSDRUVSettings.h"

#include "fixtures/ExpectError.h"
#include "fixtures/IniBuilder.h"
#include "fixtures/ReportRecorder.h"
#include "fixtures/TestPaths.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kDefaultsFile = IniLines({
    "[Window]",
    "Show=0",
    "Left=-2147483648",
    "Top=-2147483648",
    "Width=660",
    "Height=520",
    "PlayListWidth=176",
    "PlayListFileNameWidth=119",
    "PlayListLengthWidth=40",
    "ArcOpenDlgWidth=-2147483648",
    "ArcOpenDlgHeight=-2147483648",
    "WindowMode=0",
    "",
    "[Recent]",
    "RecentMax=10",
    "",
    "[Options]",
    "MidiDeviceID=0",
    "SearchSubFolder=1",
    "NoSendExclusive=0",
    "AdjustVelocity=0",
    "DigitalSpectrum=1",
    "PermitMultiExecute=0",
    "RestorePlayList=0",
    "ShowToolHint=1",
    "PlayType=0",
    "SpectrumType=0",
    "MeterWidth=14",
    "WordTraceAheadTime=200",
    "",
    "[Color]",
    "Instrument=0xFFFFC8",
    "SpectrumTop=0xFF0000",
    "SpectrumUpper=0xFFFF00",
    "SpectrumCenter=0x00FF00",
    "SpectrumLower=0x00FFFF",
    "SpectrumBottom=0x0000FF",
});

std::string List(const CLSTStringArray& texts) {
    std::string s;
    for (const CLSTString& t : texts)
        s += std::string(t.Text()) + ";";
    return s;
}

CLSTStringArray Paths(std::initializer_list<const char*> paths) {
    CLSTStringArray array;
    for (const char* p : paths)
        array.push_back(CLSTString(p));
    return array;
}

class Settings : public ::testing::Test {
protected:
    // A record loaded from a file of the given lines.
    CLSDRUVSettings LoadFrom(std::initializer_list<std::string> lines) {
        WriteFileBytes(path, IniLines(lines));
        CLSDRUVSettings settings;
        EXPECT_TRUE(settings.Load(path.c_str()));
        return settings;
    }
    CLSDRUVSettings WithRecent(int count) {
        CLSDRUVSettings settings;
        for (int i = count; i >= 1; --i)
            settings.AddRecentFile(CLSTString("/m/") + i);
        return settings;
    }
    TempDir dir;
    std::string path = dir.File("DRUV.INI");
};

} // namespace

TEST_F(Settings, DefaultsAreWrittenByteForByte) {
    const CLSDRUVSettings settings;
    ASSERT_TRUE(settings.Save(path.c_str()));
    EXPECT_EQ(ReadFileBytes(path), kDefaultsFile);
}

TEST_F(Settings, MissingFileKeepsEveryDefault) {
    CLSDRUVSettings settings;
    EXPECT_FALSE(settings.Load(dir.File("none.ini").c_str()));
    EXPECT_EQ(settings.Left, static_cast<int>(0x80000000u));
    EXPECT_EQ(settings.Top, static_cast<int>(0x80000000u));
    EXPECT_EQ(settings.Width, 660);
    EXPECT_EQ(settings.Flags, 0x52);
    EXPECT_EQ(settings.MidiDeviceID, 0); // the embedded synthesizer is always there
    EXPECT_EQ(settings.GetRecentFile(0), nullptr);
    EXPECT_EQ(settings.GetPlayListItem(0), nullptr);
}

TEST_F(Settings, EverySettingSurvivesSaveAndLoad) {
    CLSDRUVSettings out;
    out.Left = -3;
    out.Top = 12;
    out.Width = 800;
    out.Height = 1;
    out.ArcOpenDlgWidth = 300;
    out.ArcOpenDlgHeight = 200;
    out.PlayListWidth = 1;
    out.PlayListFileNameWidth = 2;
    out.PlayListLengthWidth = 3;
    out.MeterWidth = 100;
    out.SpectrumType = 2;
    out.WindowMode = 4;
    out.WordTraceAheadTime = 0;
    out.PlayType = 3;
    out.MidiDeviceID = -1;
    out.Flags = 0x17F; // every bit, 0x80 included, which is not stored
    out.Instrument = 0x010203;
    for (int i = 0; i < CLSDRUVSettings::kSpectrumColorCount; ++i)
        out.SpectrumColor(i) = 0x111111u * static_cast<unsigned>(i + 1);
    out.SetRecentMax(3);
    out.AddRecentFile(CLSTString("/b.mid"));
    out.AddRecentFile(CLSTString("/a.mid"));
    out.SetPlayListItems(Paths({"/x.mid", "/y.zip>z.mid", "/\xE6\x9B\xB2.mid"}));
    ASSERT_TRUE(out.Save(path.c_str()));

    CLSDRUVSettings in;
    ASSERT_TRUE(in.Load(path.c_str()));
    EXPECT_EQ(in.Left, -3);
    EXPECT_EQ(in.Top, 12);
    EXPECT_EQ(in.Width, 800);
    EXPECT_EQ(in.Height, 1);
    EXPECT_EQ(in.ArcOpenDlgWidth, 300);
    EXPECT_EQ(in.ArcOpenDlgHeight, 200);
    EXPECT_EQ(in.PlayListWidth, 1);
    EXPECT_EQ(in.PlayListFileNameWidth, 2);
    EXPECT_EQ(in.PlayListLengthWidth, 3);
    EXPECT_EQ(in.MeterWidth, 100);
    EXPECT_EQ(in.SpectrumType, 2);
    EXPECT_EQ(in.WindowMode, 4);
    EXPECT_EQ(in.WordTraceAheadTime, 0);
    EXPECT_EQ(in.PlayType, 3);
    EXPECT_EQ(in.MidiDeviceID, -1);
    EXPECT_EQ(in.Flags, 0x17F & ~0x80);
    EXPECT_EQ(in.Instrument, 0x010203u);
    EXPECT_EQ(in.SpectrumColors, out.SpectrumColors);
    EXPECT_EQ(in.RecentMax(), 3);
    EXPECT_EQ(List(in.RecentFiles()), "/a.mid;/b.mid;");
    EXPECT_EQ(List(in.PlayListItems()), "/x.mid;/y.zip>z.mid;/\xE6\x9B\xB2.mid;");
    // Written again, the file is the same.
    const std::string first = ReadFileBytes(path);
    ASSERT_TRUE(in.Save(path.c_str()));
    EXPECT_EQ(ReadFileBytes(path), first);
}

TEST_F(Settings, SoundFontFollowsWordTraceAheadTimeOnlyWhenChosen) {
    CLSDRUVSettings out;
    out.SoundFont = CLSTString("/sf/My Piano.sf2");
    ASSERT_TRUE(out.Save(path.c_str()));
    const std::string text = ReadFileBytes(path);
    EXPECT_NE(text.find("WordTraceAheadTime=200\r\nSoundFont=/sf/My Piano.sf2\r\n\r\n[Color]"),
              std::string::npos)
        << text;
    CLSDRUVSettings in;
    ASSERT_TRUE(in.Load(path.c_str()));
    EXPECT_STREQ(in.SoundFont.Text(), "/sf/My Piano.sf2");
    in.SoundFont = CLSTString("");
    ASSERT_TRUE(in.Save(path.c_str()));
    EXPECT_EQ(ReadFileBytes(path), kDefaultsFile); // automatic: the file as it always was
}

TEST_F(Settings, ColoursAreStoredRedFirstAndReadBack) {
    CLSDRUVSettings out;
    out.SpectrumColor(CLSDRUVSettings::SpectrumTop) = 0x0000FF;
    out.SpectrumColor(CLSDRUVSettings::SpectrumCenter) = 0x563412;
    ASSERT_TRUE(out.Save(path.c_str()));
    const std::string bytes = ReadFileBytes(path);
    EXPECT_NE(bytes.find("\r\nSpectrumTop=0xFF0000\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\nSpectrumCenter=0x123456\r\n"), std::string::npos);
    CLSDRUVSettings in;
    in.SpectrumColor(CLSDRUVSettings::SpectrumTop) = 0;
    ASSERT_TRUE(in.Load(path.c_str()));
    EXPECT_EQ(in.SpectrumColor(CLSDRUVSettings::SpectrumTop), 0x0000FFu);
    EXPECT_EQ(in.SpectrumColor(CLSDRUVSettings::SpectrumCenter), 0x563412u);
}

TEST_F(Settings, KeysAreReadFromTheirOwnSectionOnly) {
    const CLSDRUVSettings s =
        LoadFrom({"Left=5", "[options]", "Left=7", "playtype=2", "SearchSubFolder=yes", "[WINDOW]",
                  "left=100", "Height = 9", "Show=true", "[Color]", "Instrument=0x000010"});
    EXPECT_EQ(s.Left, 100);
    EXPECT_EQ(s.Height, 520);
    EXPECT_EQ(s.PlayType, 2);
    EXPECT_FALSE(s.GetFlag(CLSDRUVSettings::SearchSubFolder));
    EXPECT_FALSE(s.GetFlag(CLSDRUVSettings::Show));
    EXPECT_EQ(s.Instrument, 0x100000u);
}

TEST_F(Settings, RecentFilesSkipMissingNumbersAndStopAtRecentMax) {
    const CLSDRUVSettings s = LoadFrom({"[Recent]", "RecentFile4=/d", "RecentMax=3",
                                        "RecentFile3=/c", "RecentFile1=/a", "RecentFile03=/z"});
    EXPECT_EQ(List(s.RecentFiles()), "/a;/c;");
    EXPECT_STREQ(s.GetRecentFile(1), "/c");
    EXPECT_EQ(s.GetRecentFile(2), nullptr);
    EXPECT_EQ(s.GetRecentFile(-1), nullptr);

    const CLSDRUVSettings byDefault =
        LoadFrom({"[Recent]", "RecentFile11=/k", "recentfile10=/j", "RecentFile2=/b"});
    EXPECT_EQ(List(byDefault.RecentFiles()), "/b;/j;");
}

TEST_F(Settings, HugeOrNegativeRecentMaxLoadsAtOnce) {
    const CLSDRUVSettings huge =
        LoadFrom({"[Recent]", "RecentMax=2147483647", "RecentFile2147483647=/last",
                  "RecentFile2147483648=/beyond", "RecentFile7=/seven"});
    EXPECT_EQ(List(huge.RecentFiles()), "/seven;/last;");
    const CLSDRUVSettings negative = LoadFrom({"[Recent]", "RecentMax=-1", "RecentFile1=/a"});
    EXPECT_EQ(negative.RecentMax(), -1);
    EXPECT_EQ(List(negative.RecentFiles()), "");
}

TEST_F(Settings, PlayListItemsAreReadOnlyWhenRestoring) {
    const CLSDRUVSettings off =
        LoadFrom({"[Options]", "RestorePlayList=0", "PlayListItem1=/1", "PlayListItem2=/2"});
    EXPECT_EQ(List(off.PlayListItems()), "");
    const CLSDRUVSettings on = LoadFrom({"[Options]", "PlayListItem1=/1", "PlayListItem2=/2",
                                         "PlayListItem4=/4", "RestorePlayList=1"});
    EXPECT_EQ(List(on.PlayListItems()), "/1;/2;");
    EXPECT_STREQ(on.GetPlayListItem(1), "/2");
    EXPECT_EQ(on.GetPlayListItem(2), nullptr);

    // Written whatever the flag says: the flag only decides the next read.
    CLSDRUVSettings out;
    out.SetPlayListItems(Paths({"/p", "/q"}));
    ASSERT_TRUE(out.Save(path.c_str()));
    EXPECT_NE(ReadFileBytes(path).find("RestorePlayList=0\r\nPlayListItem1=/p\r\nPlayListItem2=/"
                                       "q\r\nShowToolHint=1\r\n"),
              std::string::npos);
}

TEST_F(Settings, AddRecentFileMovesToTheFrontAndDropsTheOldest) {
    CLSDRUVSettings full = WithRecent(10);
    EXPECT_STREQ(full.GetRecentFile(3), "/m/4");
    full.AddRecentFile(CLSTString("/m/4"));
    EXPECT_EQ(List(full.RecentFiles()), "/m/4;/m/1;/m/2;/m/3;/m/5;/m/6;/m/7;/m/8;/m/9;/m/10;");
    full.AddRecentFile(CLSTString("/new"));
    EXPECT_EQ(List(full.RecentFiles()), "/new;/m/4;/m/1;/m/2;/m/3;/m/5;/m/6;/m/7;/m/8;/m/9;");
    full.AddRecentFile(CLSTString("/NEW")); // case matters
    EXPECT_STREQ(full.GetRecentFile(0), "/NEW");
    EXPECT_STREQ(full.GetRecentFile(1), "/new");
    full.AddRecentFile(CLSTString(full.GetRecentFile(9))); // an entry of its own list
    EXPECT_STREQ(full.GetRecentFile(0), "/m/8");
    EXPECT_EQ(full.RecentFiles().size(), 10u);

    CLSDRUVSettings none;
    none.SetRecentMax(0);
    none.AddRecentFile(CLSTString("/a"));
    EXPECT_EQ(none.GetRecentFile(0), nullptr);
}

TEST_F(Settings, SetRecentMaxTrimsOrRejectsAndClearEmpties) {
    CLSDRUVSettings s = WithRecent(5);
    s.SetRecentMax(2);
    EXPECT_EQ(s.RecentMax(), 2);
    EXPECT_EQ(List(s.RecentFiles()), "/m/1;/m/2;");
    s.SetRecentMax(40000);
    s.SetRecentMax(-1);
    EXPECT_EQ(s.RecentMax(), 2);
    EXPECT_EQ(s.RecentFiles().size(), 2u);
    s.SetRecentMax(32767);
    EXPECT_EQ(s.RecentMax(), 32767);
    s.ClearRecentFiles();
    EXPECT_EQ(s.GetRecentFile(0), nullptr);
    EXPECT_EQ(s.RecentMax(), 32767);
}

TEST_F(Settings, PathsWithLineEndsAreNotWrittenAndCannotPoseAsSettings) {
    CLSDRUVSettings out;
    out.AddRecentFile(CLSTString("/ok.mid"));
    out.AddRecentFile(CLSTString("/evil\r\n[Options]\r\nRestorePlayList=1\r\nx.mid"));
    out.SetPlayListItems(Paths({"/one", "/two\nMidiDeviceID=5", "/three"}));
    ASSERT_TRUE(out.Save(path.c_str()));
    CLSDRUVSettings in;
    ASSERT_TRUE(in.Load(path.c_str()));
    EXPECT_FALSE(in.GetFlag(CLSDRUVSettings::RestorePlayList));
    EXPECT_EQ(in.MidiDeviceID, 0);
    EXPECT_EQ(List(in.RecentFiles()), "/ok.mid;");
    EXPECT_NE(ReadFileBytes(path).find("PlayListItem1=/one\r\nPlayListItem2=/three\r\n"),
              std::string::npos);
}

TEST_F(Settings, UnknownKeysAreNotKept) {
    CLSDRUVSettings s = LoadFrom({"[Window]", "Left=1", "Extra=2", "[Mine]", "A=1"});
    ASSERT_TRUE(s.Save(path.c_str()));
    const std::string bytes = ReadFileBytes(path);
    EXPECT_EQ(bytes.find("Extra"), std::string::npos);
    EXPECT_EQ(bytes.find("[Mine]"), std::string::npos);
}

TEST_F(Settings, FailingReadThrowsCode7) {
    CLSDRUVSettings s;
    EXPECT_TRUE(ThrowsCLSError([&] { s.Load("/proc/self/mem"); }, 7, "READLINE"));
}

TEST(SettingsDeathTest, ColourIndexOutsideTheFiveEndsTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    CLSDRUVSettings s;
    EXPECT_DEATH(s.SpectrumColor(5), "Assertion failed: .*file DRUVSET, line [0-9]+");
    EXPECT_DEATH(s.SpectrumColor(-1), "Assertion failed: .*file DRUVSET");
}
