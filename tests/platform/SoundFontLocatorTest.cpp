#include "platform/SoundFontLocator.h"
#include "fixtures/TestPaths.h"

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
