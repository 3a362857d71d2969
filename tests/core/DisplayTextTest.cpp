#include "core/DisplayText.h"

#include <gtest/gtest.h>

TEST(DisplayText, KeepsUtf8AndDecodesCodePage932) {
    EXPECT_EQ(DisplayText("plain"), "plain");
    EXPECT_EQ(DisplayText("春の歌"), "春の歌");
    EXPECT_EQ(DisplayText("\x8f\x74\x82\xcc\x89\xcc"), "春の歌");
    EXPECT_EQ(DisplayText("\x83\x5c"), "ソ"); // trail byte 0x5C is no backslash
    EXPECT_EQ(DisplayText("\x81\x40"), "　");
    // Bytes that are neither become a replacement mark, the rest is still shown.
    EXPECT_EQ(DisplayText("a\xA0z"), "a\xEF\xBF\xBDz");
    // Overlong and surrogate encodings are not UTF-8.
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF", 2));
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80", 3));
    EXPECT_FALSE(IsValidUtf8("\xE6\x98", 2));
}
