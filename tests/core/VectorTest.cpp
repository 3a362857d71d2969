#include "core/vector.h"
#include "core/CLSTString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

druvel::vector<int> Numbers(int count) {
    druvel::vector<int> v;
    for (int i = 0; i < count; ++i)
        v.push_back(i);
    return v;
}

CLSTStringArray Texts(int count) {
    CLSTStringArray v;
    for (int i = 0; i < count; ++i)
        v.push_back(CLSTString(i));
    return v;
}

std::string Joined(const CLSTStringArray& v) {
    std::string s;
    for (const CLSTString& t : v)
        s += std::string(t.Text()) + ",";
    return s;
}

} // namespace

TEST(VectorCapacity, GrowsSixteenSlotsAtATimeAndNeverShrinks) {
    EXPECT_EQ(druvel::vector<int>::RoundCapacity(0), 16u);
    EXPECT_EQ(druvel::vector<int>::RoundCapacity(16), 16u);
    EXPECT_EQ(druvel::vector<int>::RoundCapacity(17), 32u);
    druvel::vector<int> v = Numbers(16);
    EXPECT_EQ(v.capacity(), 16u);
    v.push_back(16);
    EXPECT_EQ(v.capacity(), 32u);
    for (int i = 17; i < 49; ++i)
        v.push_back(i);
    EXPECT_EQ(v.capacity(), 64u); // linear, not doubled to 64 earlier or 128
    v.erase(v.begin(), v.end());
    EXPECT_EQ(v.size(), 0u);
    EXPECT_EQ(v.capacity(), 64u);
    v.push_back(7);
    EXPECT_EQ(v[0], 7);
}

TEST(VectorCapacity, CopyIsSizedByTheCountAssignmentByTheSource) {
    druvel::vector<int> big = Numbers(40);
    big.erase(big.begin() + 2, big.end());
    EXPECT_EQ(druvel::vector<int>(big).capacity(), 16u);
    EXPECT_EQ(druvel::vector<int>(druvel::vector<int>()).capacity(), 16u);
    EXPECT_EQ(druvel::vector<int>(Numbers(33)).capacity(), 48u);

    druvel::vector<int> target = Numbers(3);
    target = big; // fewer elements than before? no: 3 > 2, surplus dropped, capacity taken over
    EXPECT_EQ(target.size(), 2u);
    EXPECT_EQ(target.capacity(), 48u);
    druvel::vector<int> small = Numbers(20);
    small = Numbers(17);
    EXPECT_EQ(small.capacity(), 32u);
}

TEST(VectorEdit, PushBackOfOwnElementSurvivesRelocation) {
    CLSTStringArray v = Texts(16);
    v.push_back(v[3]); // storage moves while the source lives in it
    EXPECT_STREQ(v[16].Text(), "3");
    v.push_back(v[16]);
    EXPECT_STREQ(v[17].Text(), "3");
}

TEST(VectorEdit, InsertShiftsUpAndGrowsLinearly) {
    CLSTStringArray v = Texts(16);
    v.insert(v.begin(), 1, CLSTString("x"));
    EXPECT_EQ(v.capacity(), 32u);
    EXPECT_EQ(v.size(), 17u);
    EXPECT_EQ(Joined(v), "x,0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,");

    CLSTStringArray w = Texts(3);
    w.insert(w.begin() + 1, 2, w[2]); // the value is an element that the shift moves
    EXPECT_EQ(Joined(w), "0,2,2,1,2,");
    w.insert(w.end(), 1, CLSTString("e"));
    w.insert(w.begin(), 0, CLSTString("never"));
    EXPECT_EQ(Joined(w), "0,2,2,1,2,e,");
    druvel::vector<int> n = Numbers(10);
    n.insert(n.begin() + 5, 20, -1);
    EXPECT_EQ(n.capacity(), 32u);
    EXPECT_EQ(n[4], 4);
    EXPECT_EQ(n[24], -1);
    EXPECT_EQ(n[25], 5);
    EXPECT_EQ(n[29], 9);
}

TEST(VectorEdit, EraseMovesTheTailDownAndPopBackIsSafeWhenEmpty) {
    CLSTStringArray v = Texts(6);
    auto next = v.erase(v.begin() + 1, v.begin() + 3);
    EXPECT_EQ(next, v.begin() + 1);
    EXPECT_EQ(Joined(v), "0,3,4,5,");
    v.erase(v.begin() + 3);
    v.pop_back();
    EXPECT_EQ(Joined(v), "0,3,");
    v.erase(v.begin(), v.begin());
    EXPECT_EQ(v.size(), 2u);
    CLSTStringArray empty;
    empty.pop_back();
    EXPECT_EQ(empty.size(), 0u);
    const CLSTStringArray paths = Texts(5);
    EXPECT_EQ(std::find(paths.begin(), paths.end(), CLSTString("3")) - paths.begin(), 3);
}

TEST(VectorRelocation, StringsKeepTextAndBufferWhenTheBlockMoves) {
    CLSTStringArray v;
    const std::string longText(255, 'x');
    CLSTString grown(longText.c_str()); // 256-byte buffer by construction
    grown += 'y';                       // refitted: 512
    grown.Delete(255, 1);               // 255 bytes, still 512 by the fitting rule
    for (int i = 0; i < 40; ++i)
        v.push_back(i == 7 ? grown : CLSTString(longText.c_str()));
    EXPECT_EQ(v.capacity(), 48u);
    for (unsigned i = 0; i < v.size(); ++i) {
        EXPECT_EQ(v[i].Length(), 255);
        EXPECT_EQ(v[i].BufferSize(), 256) << i; // a copy follows the construction rule
    }
    v.insert(v.begin(), 1, CLSTString("first")); // grows again with strings in place
    EXPECT_STREQ(v[0].Text(), "first");
    EXPECT_EQ(std::string(v[40].Text()), longText);
}

TEST(VectorAssign, ConstructsMissingSlotsAndDestroysSurplus) {
    CLSTStringArray a = Texts(2);
    CLSTStringArray b = Texts(20);
    a = b;
    EXPECT_EQ(a.size(), 20u);
    EXPECT_EQ(a.capacity(), 32u);
    EXPECT_STREQ(a[19].Text(), "19");
    b = Texts(1);
    EXPECT_EQ(b.size(), 1u);
    EXPECT_EQ(b.capacity(), 16u);
    a = a;
    EXPECT_EQ(a.size(), 20u);
}

using VectorDeathTest = ::testing::Test;

TEST(VectorDeathTest, OutOfRangeIndexEndsTheProcessWithTheReport) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    druvel::vector<int> v = Numbers(3);
    const druvel::vector<int>& c = v;
    EXPECT_DEATH(v[3], "Assertion failed: pos < size\\(\\), file vector, line [0-9]+");
    EXPECT_DEATH(c[3], "Assertion failed: pos < size\\(\\), file vector, line [0-9]+");
    // A negative index read as unsigned is far out of range.
    EXPECT_DEATH(v[static_cast<unsigned>(-1)], "pos < size\\(\\)");
    druvel::vector<int> empty;
    EXPECT_DEATH(empty.back(), "pos < size\\(\\)");
    // Ranges outside the array would write past the storage.
    EXPECT_DEATH(v.insert(v.end() + 1, 1, 0), "Assertion failed: .*file vector");
    EXPECT_DEATH(v.erase(v.begin() + 2, v.begin() + 1), "Assertion failed: .*file vector");
}
