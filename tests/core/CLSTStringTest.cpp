#include "core/CLSTString.h"

#include "fixtures/ExpectError.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Bytes(const CLSTString& s) {
    return std::string(s.Text(), s.Length());
}

std::string Pieces(const CLSTStringArray& parts) {
    std::string joined;
    for (const CLSTString& part : parts)
        joined += "[" + Bytes(part) + "]";
    return joined;
}

} // namespace

TEST(CLSTStringBuffer, ConstructionUsesWholeBlocksAboveTheLength) {
    EXPECT_EQ(CLSTString().BufferSize(), 256);
    EXPECT_EQ(CLSTString(std::string(255, 'a').c_str()).BufferSize(), 256);
    EXPECT_EQ(CLSTString(std::string(256, 'a').c_str()).BufferSize(), 512);
    // A copy sizes itself by the construction rule, not by the original's buffer.
    CLSTString grown(std::string(300, 'a').c_str());
    grown.Delete(0, 300);
    grown += std::string(255, 'b').c_str();
    EXPECT_EQ(grown.BufferSize(), 512);
    EXPECT_EQ(CLSTString(grown).BufferSize(), 256);
}

TEST(CLSTStringBuffer, EveryEditRefitsUpAndDown) {
    CLSTString s;
    s += std::string(600, 'x').c_str();
    EXPECT_EQ(s.BufferSize(), 768);
    s = "ab";
    EXPECT_EQ(s.BufferSize(), 256);
    EXPECT_EQ(Bytes(s), "ab");
    s.Replace(1, 0, std::string(508, 'y').c_str());
    EXPECT_EQ(s.Length(), 510);
    EXPECT_EQ(s.BufferSize(), 512);
    EXPECT_EQ(s.Text()[510], 0);
    s.Insert(0, 'z'); // an edited string keeps a whole spare block once length + 1 fills one
    EXPECT_EQ(s.BufferSize(), 768);
    EXPECT_EQ(Bytes(s.Mid(0, 2)), "za");
    EXPECT_EQ(Bytes(s.Mid(510)), "b");
    EXPECT_EQ(s.Mid(510).BufferSize(), 256);
}

TEST(CLSTStringConstruct, TakesRangesOfATextAndRejectsBadOnes) {
    EXPECT_EQ(Bytes(CLSTString("abcdef", 2)), "cdef");
    EXPECT_EQ(Bytes(CLSTString("abcdef", 1, 3)), "bcd");
    EXPECT_EQ(Bytes(CLSTString("abc", 3)), "");
    EXPECT_EQ(Bytes(CLSTString(nullptr, 0)), "");
    EXPECT_EQ(Bytes(CLSTString(-42)), "-42");
    EXPECT_TRUE(ThrowsCLSError([] { CLSTString(nullptr, 1); }, 11, "TSTRING"));
    EXPECT_TRUE(ThrowsCLSError([] { CLSTString("abc", -1); }, 11, "TSTRING"));
    EXPECT_TRUE(ThrowsCLSError([] { CLSTString("abc", 1, 3); }, 11, "TSTRING"));
    EXPECT_TRUE(ThrowsCLSError([] { CLSTString("abc", 4); }, 11, "TSTRING"));
    EXPECT_TRUE(ThrowsCLSError([] { CLSTString("abc", 1, 0x7FFFFFFF); }, 11, "TSTRING"));
}

TEST(CLSTStringAssign, CharactersTextsAndSelf) {
    CLSTString s("abc");
    s = s;
    EXPECT_EQ(Bytes(s), "abc");
    s = 'q';
    EXPECT_EQ(Bytes(s), "q");
    s = '\0';
    EXPECT_EQ(Bytes(s), "");
    s = "xyz";
    s = static_cast<const char*>(nullptr);
    EXPECT_EQ(Bytes(s), "");
    s += 'a';
    s += '\0';
    s += 12;
    s += CLSTString("!");
    EXPECT_EQ(Bytes(s), "a12!");
    EXPECT_EQ(Bytes(s + "x" + 'y' + 3 + CLSTString("z")), "a12!xy3z");
    EXPECT_EQ(Bytes(s), "a12!");
}

TEST(CLSTStringSplice, OwnTextAsSourceBehavesLikeACopy) {
    CLSTString s(std::string(200, 'a').c_str());
    s += s; // grows past the block: the source moves with the buffer
    EXPECT_EQ(Bytes(s), std::string(400, 'a'));

    CLSTString t("abcdef");
    t.Replace(0, 2, t.Text() + 2); // "cdef" over "ab"
    EXPECT_EQ(Bytes(t), "cdefcdef");
    t.Replace(2, 4, t.Text()); // whole own text into the middle
    EXPECT_EQ(Bytes(t), "cdcdefcdefef");
    t = t.Text() + 4;
    EXPECT_EQ(Bytes(t), "efcdefef");
}

TEST(CLSTStringSplice, RangesOutsideTheStringAreRejected) {
    CLSTString s("abc");
    EXPECT_TRUE(ThrowsCLSError([&] { s.Replace(-1, 1, "x"); }, 11, "TSTRING"));
    EXPECT_TRUE(ThrowsCLSError([&] { s.Replace(2, 2, "x"); }, 11, "TSTRING"));
    EXPECT_TRUE(ThrowsCLSError([&] { s.Delete(4, -1); }, 11, "TSTRING"));
    EXPECT_TRUE(ThrowsCLSError([&] { s.Insert(5, 'x'); }, 11, "TSTRING"));
    EXPECT_TRUE(ThrowsCLSError([&] { s.GetAt(3); }, 11, "TSTRING"));
    EXPECT_TRUE(ThrowsCLSError([&] { s.GetAt(-1); }, 11, "TSTRING"));
    EXPECT_TRUE(ThrowsCLSError([&] { s.Mid(3, 1); }, 11, "TSTRING"));
    EXPECT_EQ(Bytes(s), "abc");
    EXPECT_EQ(Bytes(s.Mid(3)), "");
    s.Delete(1, -1);
    EXPECT_EQ(Bytes(s), "a");
}

TEST(CLSTStringFind, EscapesAndPlainSearch) {
    EXPECT_EQ(CLSTString("[Window]").Find(']'), 7);
    EXPECT_EQ(CLSTString("a\\=b=c").Find('=', 0, '\\'), 4);
    EXPECT_EQ(CLSTString("a\\=b=c").Find('='), 2);
    EXPECT_EQ(CLSTString("abcabc").Find("bc", 2), 4);
    EXPECT_EQ(CLSTString("abc").Find("cd"), -1);
    EXPECT_EQ(CLSTString("abc").Find(""), 0);
    EXPECT_EQ(CLSTString("abc").Find("", 3), -1);
    // An escape at the very end protects nothing and finds nothing.
    EXPECT_EQ(CLSTString("ab\\").Find('\\', 0, '\\'), -1);
    EXPECT_TRUE(ThrowsCLSError([] { CLSTString("abc").Find(static_cast<const char*>(nullptr)); },
                               11, "TSTRING"));
}

TEST(CLSTStringFind, NeverMatchesTheTrailByteOfADoubleByteCharacter) {
    // 0x95 0x5C is one character whose trail byte is the backslash code.
    EXPECT_EQ(CLSTString("\x95\x5C\x5C").Find('\\'), 2);
    // 0x83 0x5B ends in '[': a section search must not stop inside it.
    EXPECT_EQ(CLSTString("\x83\x5B[").Find('['), 2);
    // A protected double-byte character is stepped over whole after the escape.
    EXPECT_EQ(CLSTString("\\\x95\x5C\\x").Find('\\', 0, '\\'), -1);
    // A lead byte before a byte outside the trail ranges is a single byte.
    EXPECT_EQ(CLSTString("\x95\x3F\\").Find('\\'), 2);
    EXPECT_EQ(CLSTString("\x95\x3F").Find('?'), 1);
    EXPECT_EQ(CLSTString("\xE0\x40").Find('@'), -1);
    EXPECT_EQ(CLSTString("\xA0\x40").Find('@'), 1); // 0xA0 is no lead byte
}

TEST(CLSTStringReplaceAll, ResumesBehindTheInsertionAndHonoursEscapes) {
    CLSTString s("aaa");
    s.ReplaceAll('a', "aa");
    EXPECT_EQ(Bytes(s), "aaaaaa");
    CLSTString t("a\\,b,c");
    t.ReplaceAll(',', ';', '\\');
    EXPECT_EQ(Bytes(t), "a\\,b;c");
    CLSTString u("x--y--z");
    u.ReplaceAll("--", static_cast<const char*>(nullptr));
    EXPECT_EQ(Bytes(u), "xyz");
    CLSTString v("\x95\x5Cn\\n");
    v.ReplaceAll("\\n", '|');
    EXPECT_EQ(Bytes(v), "\x95\x5Cn|");
    CLSTString w("abab");
    w.ReplaceAll(w.Text(), w.Text() + 2); // both texts are our own bytes
    EXPECT_EQ(Bytes(w), "ab");
}

TEST(CLSTStringReplaceAll, AbsentOrEmptyFindIsAnInvalidArgument) {
    CLSTString s("abc");
    EXPECT_TRUE(ThrowsCLSError([&] { s.ReplaceAll(static_cast<const char*>(nullptr), "x"); }, 11,
                               "TSTRING"));
    // An empty find text would otherwise loop for ever.
    EXPECT_TRUE(ThrowsCLSError([&] { s.ReplaceAll("", "x"); }, 11, "TSTRING"));
    EXPECT_TRUE(ThrowsCLSError([&] { s.ReplaceAll('\0', 'x'); }, 11, "TSTRING"));
    EXPECT_EQ(Bytes(s), "abc");
}

TEST(CLSTStringSplit, PiecesLimitsAndEscapes) {
    EXPECT_EQ(Pieces(CLSTString("a:b:").Split(':')), "[a][b][]");
    EXPECT_EQ(Pieces(CLSTString("").Split(':')), "[]");
    EXPECT_EQ(Pieces(CLSTString("a:b:c").Split(':', 0, 2)), "[a][b:c]");
    EXPECT_EQ(Pieces(CLSTString("a:b:c").Split(':', 0, 1)), "[a:b:c]");
    EXPECT_EQ(Pieces(CLSTString("a:b:c").Split(':', 0, 3)), "[a][b][c]");
    EXPECT_EQ(Pieces(CLSTString("::").Split(':')), "[][][]");
    EXPECT_EQ(Pieces(CLSTString("a\\:b:c").Split(':', '\\')), "[a\\:b][c]");
    EXPECT_EQ(Pieces(CLSTString("\x95\x5C:x").Split('\\')), "[\x95\x5C:x]");
}

TEST(CLSTStringRemoveChar, UnescapesPairsAndKeepsDoubleByteCharacters) {
    CLSTString s("a\\\\b\\c");
    s.RemoveChar('\\');
    EXPECT_EQ(Bytes(s), "a\\bc");
    CLSTString t("\\\x95\x5C\\");
    t.RemoveChar('\\');
    EXPECT_EQ(Bytes(t), "\x95\x5C");
    CLSTString u("\x95\x5C");
    u.RemoveChar('\\');
    EXPECT_EQ(Bytes(u), "\x95\x5C");
}

TEST(CLSTStringTrimRight, RemovesTrailingBlanksOnly) {
    CLSTString s("abc \t\r\n\x81\x40");
    s.TrimRight();
    EXPECT_EQ(Bytes(s), "abc");
    CLSTString t("\x81\x40"
                 "abc");
    t.TrimRight();
    EXPECT_EQ(Bytes(t), "\x81\x40"
                        "abc");
    // 0x40 as a trail byte of another character is no blank.
    CLSTString u("\x82\x40 ");
    u.TrimRight();
    EXPECT_EQ(Bytes(u), "\x82\x40");
    CLSTString v("  ");
    v.TrimRight();
    EXPECT_EQ(Bytes(v), "");
}

TEST(CLSTStringToInt, DecimalHexadecimalAndColourForms) {
    EXPECT_EQ(CLSTString("123").ToInt(), 123);
    EXPECT_EQ(CLSTString("-5").ToInt(), -5);
    EXPECT_EQ(CLSTString("+7").ToInt(), 7);
    EXPECT_EQ(CLSTString(" \t42abc").ToInt(), 42);
    EXPECT_EQ(CLSTString("0x1F").ToInt(), 31);
    EXPECT_EQ(CLSTString("0X1f").ToInt(), 31);
    EXPECT_EQ(CLSTString("-0x10").ToInt(), -16);
    EXPECT_EQ(CLSTString("abc").ToInt(), 0);
    EXPECT_EQ(CLSTString("").ToInt(), 0);
    EXPECT_EQ(CLSTString("0x").ToInt(), 0);
    EXPECT_EQ(CLSTString("- 5").ToInt(), 0);
    EXPECT_EQ(CLSTString("-2147483648").ToInt(), -2147483647 - 1);
    EXPECT_EQ(CLSTString("4294967295").ToInt(), -1); // 32-bit wrap-around
    EXPECT_EQ(CLSTString("0xFFFFFFFF").ToInt(), -1); // 10 bytes: no colour form
}

TEST(CLSTStringToInt, EightByteHexTextIsAColourWithRedLowest) {
    EXPECT_EQ(CLSTString("0xFF8000").ToInt(), 0x0080FF);
    EXPECT_EQ(CLSTString("0xFF8000").ToInt(), 33023);
    EXPECT_EQ(CLSTString("0x010000").ToInt(), 1);
    EXPECT_EQ(CLSTString("0X0000ff").ToInt(), 0xFF0000);
    EXPECT_EQ(CLSTString("0x0010000").ToInt(), 65536); // 9 bytes: plain hexadecimal
    EXPECT_EQ(CLSTString("0x00001").ToInt(), 1);       // 7 bytes: plain hexadecimal
    EXPECT_EQ(CLSTString("0xZZ00FF").ToInt(), 0xFF0000);
}

TEST(CLSTStringCompare, EqualityIsCaseSensitiveOrderIsNot) {
    EXPECT_FALSE(CLSTString("abc") == CLSTString("ABC"));
    EXPECT_TRUE(CLSTString("abc") == "abc");
    EXPECT_EQ(CLSTString("abc").CompareNoCase("ABC"), 0);
    EXPECT_LT(CLSTString("abc").CompareNoCase("ABD"), 0);
    EXPECT_GT(CLSTString("abcd").CompareNoCase("ABC"), 0);
    EXPECT_FALSE(CLSTString("Left") < CLSTString("LEFT"));
    EXPECT_FALSE(CLSTString("LEFT") < CLSTString("Left"));
    EXPECT_TRUE(CLSTString("Color") < "options");
    EXPECT_TRUE(CLSTString("") < "a");
    EXPECT_TRUE(CLSTString("\x7F") < "\x80"); // bytes compare unsigned
}
