#include "synth/SoundFontLocator.h"
#include "fixtures/ReportRecorder.h"
#include "fixtures/TestPaths.h"
#include "synth/SoundFontChoice.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class SoundFontLocatorTest : public testing::Test {
protected:
    TempDir dir;
    std::string first = MakeFolder("first");
    std::string second = MakeFolder("second");

    std::string MakeFolder(const std::string& name) {
        const std::string path = dir.File(name);
        ::mkdir(path.c_str(), 0700);
        return path;
    }
    static std::string Put(const std::string& folder, const std::string& name) {
        WriteFileBytes(folder + "/" + name, "RIFF");
        return folder + "/" + name;
    }
};

} // namespace

TEST_F(SoundFontLocatorTest, PrefersFluidR3OverTimGM6mbInAnyFolder) {
    Put(first, "TimGM6mb.sf2");
    const std::string fluid = Put(second, "FluidR3_GM.sf2");
    EXPECT_EQ(SoundFontLocator({first, second}, "").Find(), fluid);
}

TEST_F(SoundFontLocatorTest, FallsBackToTimGM6mbThenToTheSystemDefault) {
    const std::string fallback = Put(second, "default-GM.sf2");
    EXPECT_EQ(SoundFontLocator({first, second}, "").Find(), fallback);
    const std::string tim = Put(second, "TimGM6mb.sf2");
    EXPECT_EQ(SoundFontLocator({first, second}, "").Find(), tim);
}

TEST_F(SoundFontLocatorTest, TheOverrideWinsAndAMissingOverrideFindsNothing) {
    Put(first, "FluidR3_GM.sf2");
    const std::string mine = Put(second, "mine.sf2");
    EXPECT_EQ(SoundFontLocator({first}, mine).Find(), mine);
    EXPECT_EQ(SoundFontLocator({first}, second + "/missing.sf2").Find(), "");
}

TEST_F(SoundFontLocatorTest, FindsNothingInEmptyFolders) {
    EXPECT_EQ(SoundFontLocator({first, second, dir.File("absent")}, "").Find(), "");
}

TEST(SoundFontLocatorEnvironment, ReadsTheOverrideFromTheEnvironment) {
    TempDir dir;
    const std::string mine = dir.File("mine.sf2");
    WriteFileBytes(mine, "RIFF");
    ::setenv(SoundFontLocator::kEnvironmentVariable, mine.c_str(), 1);
    const std::string found = SoundFontLocator().Find();
    ::unsetenv(SoundFontLocator::kEnvironmentVariable);
    EXPECT_EQ(found, mine);
}

// A named SoundFont that cannot be used is told once, by name, and the search's plays.
TEST_F(SoundFontLocatorTest, ABadChosenFileIsToldOnceAndTheAutomaticOnePlays) {
    const std::string automatic = Put(first, "FluidR3_GM.sf2");
    const SoundFontLocator search({first}, "");
    const std::string missing = second + "/gone.sf2";
    const std::string unreadable = MakeFolder("folder.sf2"); // unreadable even for root
    const std::string damaged = Put(second, "damaged.sf2");  // "RIFF" and nothing more
    ReportRecorder reports;
    const std::pair<std::string, const char*> cases[] = {
        {missing, "SoundFont が見つかりません："},
        {unreadable, "SoundFont を読み込めません："},
        {damaged, "SoundFont が壊れています："},
    };
    for (const auto& [path, text] : cases) {
        SoundFontChoice::SetUserChoice(path);
        const std::size_t before = reports.Reports().size();
        EXPECT_EQ(SoundFontChoice::Resolve(search), automatic) << path;
        EXPECT_EQ(SoundFontChoice::Resolve(search), automatic) << path;
        ASSERT_EQ(reports.Reports().size(), before + 1) << path;
        EXPECT_EQ(reports.Reports().back().text.rfind(text + path + "\n", 0), 0u)
            << reports.Reports().back().text;
    }
    // The command line's file is checked the same way, and beats the setting.
    SoundFontChoice::SetUserChoice(damaged);
    SoundFontChoice::SetCommandLineChoice(missing);
    EXPECT_EQ(SoundFontChoice::Named(), missing);
    EXPECT_EQ(SoundFontChoice::Resolve(search), automatic);
    SoundFontChoice::SetCommandLineChoice({});
    SoundFontChoice::SetUserChoice({});
    EXPECT_EQ(SoundFontChoice::Resolve(search), automatic);
}
