#include "playlist/CLSPlayList.h"

#include <gtest/gtest.h>

TEST(CLSRandom, IsTheThirtyTwoBitGeneratorOfThePlayOrder) {
    CLSRandom random(12345);
    EXPECT_EQ(random.Next(), 15301);
    EXPECT_EQ(random.Next(), 24996);
    CLSRandom seeded;
    seeded.Seed(12345); // the first number is thrown away
    EXPECT_EQ(seeded.Next(), 24996);
    CLSRandom wrapping(0xFFFFFFFFu);
    EXPECT_EQ(wrapping.Next(), 32421);
}

namespace {

CLSPlayList& ThreeSongs(CLSPlayList& list) {
    for (const char* path : {"a.mid", "b.mid", "c.mid"})
        list.AppendSong(CLSTString(path));
    return list;
}

} // namespace

TEST(PlayOrder, NormalStopsAfterTheLastSongRepeatAllGoesOn) {
    CLSPlayList list;
    CLSRandom random;
    ThreeSongs(list);
    EXPECT_EQ(list.AdvanceByPlayOrder(kPlayNormal, random), PlayOrderStep::kLoadAndPlay);
    EXPECT_EQ(list.GetCurrent(), 1u);
    list.SetCurrent(2);
    EXPECT_EQ(list.AdvanceByPlayOrder(kPlayNormal, random), PlayOrderStep::kLoad);
    EXPECT_EQ(list.GetCurrent(), 0u);
    list.SetCurrent(2);
    EXPECT_EQ(list.AdvanceByPlayOrder(kPlayRepeatAll, random), PlayOrderStep::kLoadAndPlay);
    EXPECT_EQ(list.GetCurrent(), 0u);
    EXPECT_EQ(list.AdvanceByPlayOrder(kPlayRepeatOne, random), PlayOrderStep::kReplay);
    EXPECT_EQ(list.GetCurrent(), 0u);
    EXPECT_EQ(list.AdvanceByPlayOrder(7, random), PlayOrderStep::kNothing);
}

TEST(PlayOrder, RandomTakesTheNextNumberModuloTheCount) {
    CLSPlayList list;
    ThreeSongs(list);
    CLSRandom random(12345);
    CLSRandom expected(12345);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(list.AdvanceByPlayOrder(kPlayRandom, random), PlayOrderStep::kLoadAndPlay);
        EXPECT_EQ(list.GetCurrent(), static_cast<unsigned>(expected.Next()) % 3u);
        EXPECT_EQ(list.View().GetImage(list.GetCurrent()), 1);
    }
}

TEST(PlayOrder, RandomWithOneSongPlaysItAgainAndWithNoneNothing) {
    CLSPlayList list;
    CLSRandom random(1);
    for (int order : {kPlayNormal, kPlayRepeatOne, kPlayRepeatAll, kPlayRandom})
        EXPECT_EQ(list.AdvanceByPlayOrder(order, random), PlayOrderStep::kNothing) << order;
    list.AppendSong(CLSTString("only.mid"));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(list.AdvanceByPlayOrder(kPlayRandom, random), PlayOrderStep::kLoadAndPlay);
        EXPECT_EQ(list.GetCurrent(), 0u);
    }
    EXPECT_EQ(list.AdvanceByPlayOrder(kPlayNormal, random), PlayOrderStep::kLoad);
}
