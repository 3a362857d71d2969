#include "core/CLSTString.h"

#include <gtest/gtest.h>

TEST(CLSTStringBuffer, FitsToBlocksWhenGrowingAndShrinking) {
    CLSTString s(std::string(255, 'a').c_str());
    EXPECT_EQ(s.BufferSize(), 256);
    s += 'b';
    EXPECT_EQ(s.BufferSize(), 512);
    s.Delete(254, 2);
    EXPECT_EQ(s.BufferSize(), 256);
}
