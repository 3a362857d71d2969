#include "settings/SettingsLocation.h"

#include "fixtures/TestPaths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

SettingsLocation::Environment Env(std::string druvelHome, std::string exe, std::string xdg,
                                  std::string home) {
    return {std::move(druvelHome), std::move(exe), std::move(xdg), std::move(home)};
}

} // namespace

TEST(SettingsLocationTest, DruvelHomeOverridesEverything) {
    TempDir exe;
    EXPECT_EQ(SettingsLocation::ChooseFolder(Env("/opt/portable", exe.Path(), "/x", "/h")),
              "/opt/portable");
}

TEST(SettingsLocationTest, ExecutableFolderWhenItHoldsTheFileOrIsWritable) {
    TempDir exe;
    EXPECT_EQ(SettingsLocation::ChooseFolder(Env("", exe.Path(), "/x", "/h")), exe.Path());
    WriteFileBytes(exe.File("DRUV.INI"), "");
    EXPECT_EQ(SettingsLocation::ChooseFolder(Env("", exe.Path(), "/x", "/h")), exe.Path());
}

TEST(SettingsLocationTest, ConfigFolderWhenTheExecutableFolderIsNoPlaceForIt) {
    TempDir base;
    const std::string gone = base.File("no-such-folder");
    EXPECT_EQ(SettingsLocation::ChooseFolder(Env("", gone, "/cfg", "/home/u")), "/cfg/druvel");
    EXPECT_EQ(SettingsLocation::ChooseFolder(Env("", gone, "/cfg/", "/home/u")), "/cfg/druvel");
    // Unset or relative config homes fall back to ~/.config.
    EXPECT_EQ(SettingsLocation::ChooseFolder(Env("", gone, "", "/home/u")),
              "/home/u/.config/druvel");
    EXPECT_EQ(SettingsLocation::ChooseFolder(Env("", gone, "rel/cfg", "/home/u")),
              "/home/u/.config/druvel");
    WriteFileBytes(base.File("file"), "");
    EXPECT_EQ(SettingsLocation::ChooseFolder(Env("", base.File("file"), "/cfg", "/h")),
              "/cfg/druvel");
    EXPECT_EQ(SettingsLocation::ChooseFolder(Env("", "", "/cfg", "/h")), "/cfg/druvel");
    // An installed program run by root must not leave its settings among the system's files.
    if (!std::filesystem::exists("/usr/bin/DRUV.INI")) {
        EXPECT_EQ(SettingsLocation::ChooseFolder(Env("", "/usr/bin", "/cfg", "/h")), "/cfg/druvel");
    }
}

TEST(SettingsLocationTest, ProcessPathFollowsTheEnvironment) {
    TempDir home;
    ::setenv("DRUVEL_HOME", home.Path().c_str(), 1);
    EXPECT_EQ(SettingsLocation::IniPath(), home.Path() + "/DRUV.INI");
    ::unsetenv("DRUVEL_HOME");
    // Without the override the test program's own folder (a writable build folder) is used.
    const std::string exe = std::filesystem::canonical("/proc/self/exe").parent_path();
    EXPECT_EQ(SettingsLocation::IniPath(), exe + "/DRUV.INI");
}
