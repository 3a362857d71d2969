#include "player/CommandLinePaths.h"

#include <gtest/gtest.h>

TEST(CommandLinePaths, EmptyArgumentEndsTheListAndLongPathsStayWhole) {
    const std::string longPath = "/songs/" + std::string(400, 'a') + ".mid";
    const char* argv[] = {"druvel", "x.mid", "b c.mid", longPath.c_str(), "", "y.mid", nullptr};
    EXPECT_EQ(CommandLinePaths(6, argv), (std::vector<std::string>{"x.mid", "b c.mid", longPath}));
    const char* none[] = {"druvel", nullptr};
    EXPECT_TRUE(CommandLinePaths(1, none).empty());
}
