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

namespace {

// Song texts as files carry them: Japanese in CP932, French in Windows-1252, Russian in
// Windows-1251.
const std::string kJapanese =
    "\x8ft\x82\xcc\x8f\xac\x90\xec\x82\xcd "
    "\x82\xb3\x82\xe7\x82\xb3\x82\xe7\x8ds\x82\xad\x82\xe6\n\x8a\xdd\x82\xcc\x82\xb7\x82\xdd\x82"
    "\xea\x82\xe2 "
    "\x82\xea\x82\xf1\x82\xb0\x82\xcc\x89\xd4\x82\xc9\n\x8ep\x82\xe2\x82\xb3\x82\xb5\x82\xad \x90"
    "F\x82\xa4\x82\xc2\x82\xad\x82\xb5\x82\xad\n\x8d\xe7\x82\xaf\x82\xe6\x8d\xe7\x82\xaf\x82\xe6"
    "\x82\xc6 \x82\xb3\x82\xb3\x82\xe2\x82\xab\x82\xc8\x82\xaa\x82\xe7";
const std::string kFrench =
    "Fr\xe8re Jacques, dormez-vous? Sonnez les matines, ding, daing, dong.\nO\xf9 est la f\xeate? "
    "\xc7"
    "a va tr\xe8s bien, merci. \xab D\xe9j\xe0 vu \xbb \x96 \xe0 bient\xf4t";
const std::string kRussian =
    "\xc2 \xeb\xe5\xf1\xf3 \xf0\xee\xe4\xe8\xeb\xe0\xf1\xfc \xb8\xeb\xee\xf7\xea\xe0,\n\xc2 "
    "\xeb\xe5\xf1\xf3 \xee\xed\xe0 \xf0\xee\xf1\xeb\xe0,\n\xc7\xe8\xec\xee\xe9 \xe8 "
    "\xeb\xe5\xf2\xee\xec \xf1\xf2\xf0\xee\xe9\xed\xe0\xff,\n\xc7\xe5\xeb\xb8\xed\xe0\xff "
    "\xe1\xfb\xeb\xe0.";

} // namespace

TEST(TextEncoding, DetectsTheCodePageOfRealLyrics) {
    EXPECT_EQ(DetectTextEncoding(kJapanese, false, ""), "CP932");
    EXPECT_EQ(DetectTextEncoding(kFrench, false, ""), "WINDOWS-1252");
    EXPECT_EQ(DetectTextEncoding(kRussian, false, ""), "WINDOWS-1251");
    EXPECT_EQ(DetectTextEncoding("В лесу родилась ёлочка", false, "JAPA"), "UTF-8");
    EXPECT_EQ(DisplayText(kJapanese.data(), kJapanese.size(), "CP932"),
              "春の小川は さらさら行くよ\n岸のすみれや れんげの花に\n姿やさしく "
              "色うつくしく\n咲けよ咲けよと ささやきながら");
    EXPECT_EQ(DisplayText(kFrench.data(), kFrench.size(), "WINDOWS-1252"),
              "Frère Jacques, dormez-vous? Sonnez les matines, ding, daing, dong.\nOù est la fête? "
              "Ça va très bien, merci. « Déjà vu » – à bientôt");
    EXPECT_EQ(DisplayText(kRussian.data(), kRussian.size(), "WINDOWS-1251"),
              "В лесу родилась ёлочка,\nВ лесу она росла,\nЗимой и летом стройная,\nЗелёная была.");
}

TEST(TextEncoding, XFSongsAreCodePage932AndTheLanguageOverrulesADisagreeingDetector) {
    EXPECT_EQ(DetectTextEncoding(kFrench, true, ""), "CP932");
    EXPECT_EQ(DetectTextEncoding(kRussian, false, "ENGL"), "WINDOWS-1252");
    EXPECT_EQ(DetectTextEncoding(kRussian, false, "RUSS"), "WINDOWS-1251");
}

TEST(TextEncoding, ShortTextsFallBackToCodePage932OrTheLanguage) {
    // Too little for the detector: CP932 when the bytes can be that ("\x82\xa0" is one kana)...
    EXPECT_EQ(DetectTextEncoding("\x82\xa0", false, ""), "CP932");
    // ...Windows-1252 when they cannot (a lone lead byte at the end)...
    EXPECT_EQ(DetectTextEncoding("Caf\xe9", false, ""), "WINDOWS-1252");
    // ...and the song's language when it names one.
    EXPECT_EQ(DetectTextEncoding("\xcc\xe8\xf0", false, "RUSS"), "WINDOWS-1251");
    EXPECT_EQ(DetectTextEncoding("\x82\xa0", false, "GERM"), "WINDOWS-1252");
}

TEST(TextEncoding, ConvertsWithTheGivenEncodingAndCountsColumns) {
    EXPECT_EQ(DisplayText("\xe9t\xe9", 3, "WINDOWS-1252"), "été");
    EXPECT_EQ(DisplayText("\xe9t\xe9", 3, "NO-SUCH-CODE-PAGE"), DisplayText("\xe9t\xe9", 3));
    EXPECT_TRUE(IsKnownEncoding("KOI8-R"));
    EXPECT_FALSE(IsKnownEncoding("NO-SUCH-CODE-PAGE"));
    EXPECT_EQ(DisplayColumns("\xe9t\xe9", 3, "WINDOWS-1252"), 3u);
    EXPECT_EQ(DisplayColumns("\x8f\x74\x82\xcc", 4, "CP932"), 4u); // two wide characters
}
