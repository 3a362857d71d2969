#include "playlist/CLSPlayList.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// A playlist of songs named by single letters, with the given rows selected.
class PlayList : public ::testing::Test {
protected:
    void Fill(const std::string& names) {
        for (char c : names)
            list.AppendSong(CLSTString((std::string(1, c) + ".mid").c_str()));
    }
    void Select(std::initializer_list<unsigned> rows) {
        for (unsigned row : rows)
            list.View().SetSelected(row, true);
    }
    // The playlist as letters, the current one in brackets, e.g. "a[b]c".
    std::string Order() const {
        std::string text;
        for (unsigned i = 0; i < list.Count(); ++i) {
            const char letter = list.GetPath(i).Text()[0];
            text +=
                i == list.GetCurrent() ? std::string("[") + letter + "]" : std::string(1, letter);
        }
        return text;
    }
    std::string Selected() const {
        std::string rows;
        for (unsigned i = 0; i < list.Count(); ++i)
            rows += list.View().IsSelected(i) ? '1' : '0';
        return rows;
    }
    std::string Markers() const {
        std::string images;
        for (unsigned i = 0; i < list.Count(); ++i)
            images += static_cast<char>('0' + list.View().GetImage(i));
        return images;
    }

    CLSPlayList list;
};

} // namespace

TEST_F(PlayList, EntriesStartFromThePathAloneAndAnswerOutOfRangeQuietly) {
    Fill("ab");
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_STREQ(list.GetCurrentPath().Text(), "a.mid");
    EXPECT_TRUE(list.GetTitle(0).IsEmpty());
    EXPECT_EQ(list.GetLength(1), 0);
    EXPECT_TRUE(list.GetPath(2).IsEmpty());
    EXPECT_TRUE(list.GetArtist(99).IsEmpty());
    EXPECT_EQ(list.GetLength(static_cast<unsigned>(-1)), 0);
    EXPECT_EQ(Markers(), "00"); // no row is marked before the first load
    EXPECT_EQ(list.GetFocused(), -1);
    CLSTStringArray paths = list.GetPaths();
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_STREQ(paths[1].Text(), "b.mid");
}

TEST_F(PlayList, SetCurrentMovesTheMarkerAndFocusButNotTheSelection) {
    Fill("abc");
    Select({0});
    list.SetCurrent(2);
    EXPECT_EQ(Markers(), "001");
    EXPECT_EQ(list.GetFocused(), 2);
    EXPECT_EQ(Selected(), "100");
    list.SetCurrent(1);
    EXPECT_EQ(Markers(), "010");
    list.SetCurrent(3);
    EXPECT_EQ(Order(), "a[b]c");
    EXPECT_EQ(Markers(), "010");
}

TEST_F(PlayList, NextAndPreviousWrapAround) {
    EXPECT_FALSE(list.Next());
    list.Previous();
    EXPECT_EQ(list.GetCurrent(), 0u);
    Fill("abc");
    list.SetCurrent(2);
    EXPECT_FALSE(list.Next()); // wrapped to the first
    EXPECT_EQ(Order(), "[a]bc");
    EXPECT_TRUE(list.Next());
    EXPECT_EQ(Order(), "a[b]c");
    list.Previous();
    list.Previous();
    EXPECT_EQ(Order(), "ab[c]");
    EXPECT_EQ(Markers(), "001");
}

TEST_F(PlayList, DeletingTheCurrentSongMakesTheFollowingOneCurrentUnmarked) {
    Fill("abcde");
    list.SetCurrent(2);
    EXPECT_FALSE(list.Delete(2));
    EXPECT_EQ(Order(), "ab[d]e");
    EXPECT_EQ(Markers(), "0000");
    EXPECT_EQ(list.GetFocused(), 2);
    list.SetCurrent(3);
    EXPECT_FALSE(list.Delete(3)); // the last one: back to the first
    EXPECT_EQ(Order(), "[a]bd");
    EXPECT_EQ(list.GetFocused(), 0);
}

TEST_F(PlayList, DeletingOtherSongsKeepsTheSameSongCurrent) {
    Fill("abcd");
    list.SetCurrent(2);
    EXPECT_TRUE(list.Delete(0));
    EXPECT_EQ(Order(), "b[c]d");
    EXPECT_TRUE(list.Delete(2));
    EXPECT_EQ(Order(), "b[c]");
    EXPECT_TRUE(list.Delete(2));
    EXPECT_TRUE(list.Delete(static_cast<unsigned>(-1)));
    EXPECT_EQ(Order(), "b[c]");
    EXPECT_EQ(Markers(), "01");
    EXPECT_FALSE(list.Delete(1));
    EXPECT_FALSE(list.Delete(0));
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(list.GetCurrent(), 0u);
    EXPECT_TRUE(list.Delete(0));
}

TEST_F(PlayList, DeleteSelectedRemovesEveryRowAndTellsWhetherTheCurrentWentWithThem) {
    Fill("abcdef");
    EXPECT_TRUE(list.DeleteSelected()); // nothing selected
    list.SetCurrent(4);
    Select({0, 1, 3, 5});
    EXPECT_TRUE(list.DeleteSelected());
    EXPECT_EQ(Order(), "c[e]");
    EXPECT_EQ(Selected(), "00");
    Fill("gh");
    Select({1, 2});
    EXPECT_FALSE(list.DeleteSelected());
    EXPECT_EQ(Order(), "c[h]");
    Select({0, 1});
    EXPECT_FALSE(list.DeleteSelected());
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_FALSE(list.HasSelection());
}

TEST_F(PlayList, MovingUpCarriesTheSelectedBlockAndTheCurrentSong) {
    Fill("abcde");
    list.SetCurrent(1);
    Select({2, 3});
    EXPECT_TRUE(list.CanMoveUp());
    list.MoveSelectedUp();
    EXPECT_EQ(Order(), "acd[b]e");
    EXPECT_EQ(Selected(), "01100");
    EXPECT_EQ(Markers(), "00010");
    list.MoveSelectedUp();
    EXPECT_EQ(Order(), "cda[b]e");
    EXPECT_FALSE(list.CanMoveUp()); // row 0 is selected
    list.MoveSelectedUp();
    EXPECT_EQ(Order(), "cda[b]e");
}

TEST_F(PlayList, MovingDownMirrorsMovingUp) {
    Fill("abcde");
    list.SetCurrent(2);
    Select({1, 2});
    EXPECT_TRUE(list.CanMoveDown());
    list.MoveSelectedDown();
    EXPECT_EQ(Order(), "adb[c]e");
    EXPECT_EQ(Selected(), "00110");
    EXPECT_EQ(Markers(), "00010");
    list.MoveSelectedDown();
    EXPECT_EQ(Order(), "adeb[c]");
    EXPECT_EQ(Selected(), "00011");
    EXPECT_FALSE(list.CanMoveDown()); // the last row is selected
}

TEST_F(PlayList, MovesAreRefusedWithoutSelectionAndAtTheEnds) {
    EXPECT_FALSE(list.CanMoveUp());
    EXPECT_FALSE(list.CanMoveDown());
    Fill("abc");
    EXPECT_FALSE(list.CanMoveUp());
    EXPECT_FALSE(list.CanMoveDown());
    Select({2});
    EXPECT_TRUE(list.CanMoveUp());
    EXPECT_FALSE(list.CanMoveDown());
    list.MoveSelectedDown();
    EXPECT_EQ(Order(), "[a]bc");
    EXPECT_EQ(Markers(), "000");
}

TEST_F(PlayList, SongInformationTravelsWithItsEntry) {
    Fill("abc");
    list.SetCurrent(1);
    list.SetCurrentTitle(CLSTString("Title"));
    list.SetCurrentComposer(CLSTString("Composer"));
    list.SetCurrentLyricist(CLSTString("Lyricist"));
    list.SetCurrentArranger(CLSTString("Arranger"));
    list.SetCurrentArtist(CLSTString("Artist"));
    list.SetCurrentLength(83456);
    Select({1});
    list.MoveSelectedUp();
    list.MoveSelectedDown();
    list.MoveSelectedDown();
    EXPECT_TRUE(list.Delete(0));
    const unsigned at = list.GetCurrent();
    EXPECT_STREQ(list.GetPath(at).Text(), "b.mid");
    EXPECT_STREQ(list.GetTitle(at).Text(), "Title");
    EXPECT_STREQ(list.GetComposer(at).Text(), "Composer");
    EXPECT_STREQ(list.GetLyricist(at).Text(), "Lyricist");
    EXPECT_STREQ(list.GetArranger(at).Text(), "Arranger");
    EXPECT_STREQ(list.GetArtist(at).Text(), "Artist");
    EXPECT_EQ(list.GetLength(at), 83456);
    EXPECT_TRUE(list.GetTitle(0).IsEmpty());
}

TEST_F(PlayList, LongListKeepsEveryEntryThroughGrowthAndMoves) {
    for (int i = 0; i < 50; ++i)
        list.AppendSong(CLSTString((std::to_string(i) + ".mid").c_str()));
    list.SetCurrent(20);
    list.SetCurrentTitle(CLSTString("Twenty"));
    Select({20, 21});
    list.MoveSelectedUp();
    list.MoveSelectedUp();
    ASSERT_EQ(list.Count(), 50u);
    EXPECT_EQ(list.GetCurrent(), 18u);
    EXPECT_STREQ(list.GetTitle(18).Text(), "Twenty");
    EXPECT_STREQ(list.GetPath(19).Text(), "21.mid");
    EXPECT_STREQ(list.GetPath(20).Text(), "18.mid");
    EXPECT_STREQ(list.GetPath(21).Text(), "19.mid");
    EXPECT_STREQ(list.GetPath(49).Text(), "49.mid");
    EXPECT_EQ(list.GetPaths().size(), 50u);
}

TEST(CLSMusicInfo, EntriesShiftAndRelocateInTheirArrayWithoutLosingFields) {
    druvel::vector<CLSMusicInfo> v;
    for (int i = 0; i < 33; ++i) {
        v.push_back(CLSMusicInfo(CLSTString(i)));
        v.back().Get().title = CLSTString(i * 10);
    }
    v.insert(v.begin() + 3, 1, v[30]);
    v.erase(v.begin() + 10, v.begin() + 10);
    v.erase(v.begin());
    ASSERT_EQ(v.size(), 33u);
    EXPECT_STREQ(v[2].Get().path.Text(), "30");
    EXPECT_STREQ(v[3].Get().title.Text(), "30");
    EXPECT_STREQ(v[32].Get().title.Text(), "320");
}

TEST_F(PlayList, ArchiveDialogSizeKeepsValuesThatWereNotGiven) {
    EXPECT_EQ(list.GetArchiveDialogWidth(), 400);
    EXPECT_EQ(list.GetArchiveDialogHeight(), 300);
    list.SetArchiveDialogSize(CLSPlayList::kNotGiven, 250);
    EXPECT_EQ(list.GetArchiveDialogWidth(), 400);
    EXPECT_EQ(list.GetArchiveDialogHeight(), 250);
    list.SetArchiveDialogSize(-5, CLSPlayList::kNotGiven);
    EXPECT_EQ(list.GetArchiveDialogWidth(), -5);
    EXPECT_EQ(list.GetArchiveDialogHeight(), 250);
}

TEST(CLSMusicInfo, RowTextsForTheView) {
    CLSMusicInfo song(CLSTString("D:\\a.lzh>midi\\song.mid"));
    EXPECT_STREQ(song.DisplayName().Text(), "song.mid");
    EXPECT_STREQ(CLSMusicInfo(CLSTString("/m/x.lzh>dir/a.mid")).DisplayName().Text(), "a.mid");
    EXPECT_STREQ(CLSMusicInfo(CLSTString("/m/dir/b.mid")).DisplayName().Text(), "b.mid");
    EXPECT_STREQ(song.ToolTipText().Text(), "ファイル名: D:\\a.lzh>midi\\song.mid");
    EXPECT_TRUE(CLSMusicInfo::FormatLength(0).IsEmpty());
    EXPECT_STREQ(CLSMusicInfo::FormatLength(999).Text(), "0:00");
    EXPECT_STREQ(CLSMusicInfo::FormatLength(60000).Text(), "1:00");
    EXPECT_STREQ(CLSMusicInfo::FormatLength(83456).Text(), "1:23");
    song.Get().title = "T";
    song.Get().artist = "A";
    song.Get().length = 83456;
    EXPECT_STREQ(song.DisplayName().Text(), "T");
    EXPECT_STREQ(
        song.ToolTipText().Text(),
        "ファイル名: D:\\a.lzh>midi\\song.mid\r\n曲名: T\r\nアーティスト: A\r\n長さ: 1:23");
}
