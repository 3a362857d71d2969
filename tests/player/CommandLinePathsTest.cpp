#include "player/CommandLinePaths.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(CommandLinePaths, EmptyArgumentEndsTheListAndLongPathsStayWhole) {
    const std::string longPath = "/songs/" + std::string(400, 'a') + ".mid";
    const char* argv[] = {"druvel", "x.mid", "b c.mid", longPath.c_str(), "", "y.mid", nullptr};
    const std::string here = std::filesystem::current_path().string();
    // Relative paths must name the same files for a running instance in another folder.
    EXPECT_EQ(CommandLinePaths(6, argv),
              (std::vector<std::string>{here + "/x.mid", here + "/b c.mid", longPath}));
    const char* none[] = {"druvel", nullptr};
    EXPECT_TRUE(CommandLinePaths(1, none).empty());
}
