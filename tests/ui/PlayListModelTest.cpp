#include "fixtures/TestPaths.h"
#include "playlist/CLSPlayList.h"
#include "playlist/ui/CLSPlayListModel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBrush>
#include <QColor>

#include <memory>
#include <string>
#include <vector>

namespace {

class PlayListModelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!QApplication::instance()) {
            static int argc = 1;
            static char name[] = "test_ui";
            static char* argv[] = {name, nullptr};
            s_app = std::make_unique<QApplication>(argc, argv);
        }
    }

    // Qt must be gone before static destruction begins.
    static void TearDownTestSuite() { s_app.reset(); }

    void SetUp() override { playlist.SetView(&model); }
    void TearDown() override { playlist.SetView(nullptr); }

    QString Text(int row, int column, int role = Qt::DisplayRole) const {
        return model.data(model.index(row, column), role).toString();
    }

    static inline std::unique_ptr<QApplication> s_app;
    CLSPlayList playlist;
    CLSPlayListModel model{playlist};
};

TEST_F(PlayListModelTest, TwoColumnsWithTheirHeaders) {
    EXPECT_EQ(model.columnCount(), 2);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QString::fromUtf8("曲名/ファイル名"));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QString::fromUtf8("長さ"));
}

TEST_F(PlayListModelTest, RowsShowTheFileNameUntilLoadedThenTitleAndLength) {
    playlist.AppendSong("/music/first.mid");
    playlist.AppendSong("/music/a.lzh>midi/song.mid");
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(Text(0, 0), QStringLiteral("first.mid"));
    EXPECT_EQ(Text(0, 1), QString());
    EXPECT_EQ(Text(1, 0), QStringLiteral("song.mid"));

    int changed = 0;
    QObject::connect(&model, &QAbstractItemModel::dataChanged, [&] { ++changed; });
    playlist.SetCurrentTitle("\x89\xcc"); // code page 932
    playlist.SetCurrentLength(83456);
    EXPECT_GE(changed, 2);
    EXPECT_EQ(Text(0, 0), QString::fromUtf8("歌"));
    EXPECT_EQ(Text(0, 1), QStringLiteral("1:23"));
    EXPECT_EQ(model.data(model.index(0, 0), Qt::BackgroundRole).value<QBrush>().color(),
              QColor(0x3C, 0x3C, 0x3C));
}

TEST_F(PlayListModelTest, TooltipsAreBuiltFromTheCurrentEntry) {
    playlist.AppendSong("/music/first.mid");
    EXPECT_EQ(Text(0, 0, Qt::ToolTipRole), QString::fromUtf8("ファイル名: /music/first.mid"));
    playlist.SetCurrentTitle("\x89\xcc");
    playlist.SetCurrentArtist("Band");
    playlist.SetCurrentLength(60000);
    EXPECT_EQ(Text(0, 1, Qt::ToolTipRole),
              QString::fromUtf8("ファイル名: /music/first.mid\n曲名: 歌\nアーティスト: "
                                "Band\n長さ: 1:00"));
}

// A Latin-1 song's title shows as the lyrics display shows its words, not read as Japanese.
TEST_F(PlayListModelTest, TitlesAreShownInTheSongsOwnEncoding) {
    playlist.AppendSong("/music/cafe.kar");
    playlist.SetCurrentEncoding("WINDOWS-1252");
    playlist.SetCurrentTitle("Caf\xe9 Noir");
    EXPECT_EQ(Text(0, 0), QString::fromUtf8("Café Noir"));
    EXPECT_TRUE(Text(0, 0, Qt::ToolTipRole).contains(QString::fromUtf8("曲名: Café Noir")));
}

TEST_F(PlayListModelTest, TheMarkerFollowsTheCurrentSong) {
    for (const char* path : {"/a.mid", "/b.mid", "/c.mid"})
        playlist.AppendSong(path);
    int markerChanges = 0;
    QObject::connect(&model, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
                         markerChanges += roles.contains(CLSPlayListModel::kMarkerRole);
                     });
    int focused = -1;
    QObject::connect(&model, &CLSPlayListModel::focusSet, [&](int row) { focused = row; });
    playlist.SetCurrent(2);
    EXPECT_EQ(model.data(model.index(2, 0), CLSPlayListModel::kMarkerRole).toInt(), 1);
    EXPECT_EQ(model.data(model.index(0, 0), CLSPlayListModel::kMarkerRole).toInt(), 0);
    EXPECT_EQ(markerChanges, 1); // row 0 was not marked yet: only row 2 changed
    EXPECT_EQ(focused, 2);
    EXPECT_EQ(playlist.GetFocused(), 2);
}

TEST_F(PlayListModelTest, DeletingSelectedRowsRemovesThemFromTheView) {
    for (const char* path : {"/a.mid", "/b.mid", "/c.mid"})
        playlist.AppendSong(path);
    int removed = 0;
    QObject::connect(&model, &QAbstractItemModel::rowsRemoved, [&] { ++removed; });
    model.SetSelected(0, true);
    model.SetSelected(2, true);
    EXPECT_TRUE(playlist.HasSelection());
    playlist.DeleteSelected();
    EXPECT_EQ(removed, 2);
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(Text(0, 0), QStringLiteral("b.mid"));
    EXPECT_FALSE(playlist.HasSelection());
    EXPECT_FALSE(model.data(model.index(5, 0)).isValid());
}

// Rows are read from the playlist when asked for, not copied into the model.
TEST_F(PlayListModelTest, ManyRowsAreServedOnDemand) {
    for (int i = 0; i < 10000; ++i)
        playlist.AppendSong(CLSTString(("/m/" + std::to_string(i) + ".mid").c_str()));
    ASSERT_EQ(model.rowCount(), 10000);
    EXPECT_EQ(Text(9999, 0), QStringLiteral("9999.mid"));
    EXPECT_EQ(Text(9999, 0, Qt::ToolTipRole), QString::fromUtf8("ファイル名: /m/9999.mid"));
}

// A folder of songs reaches the view as one insert: a view told of 100,000 rows one by one
// spends seconds on the signals alone.
TEST_F(PlayListModelTest, AFolderIsAddedToTheViewInOneInsert) {
    TempDir dir;
    for (int i = 0; i < 50; ++i)
        WriteFileBytes(dir.File("song " + std::to_string(100 + i) + ".mid"), "");
    playlist.AppendSong("/music/first.mid");
    std::vector<std::pair<int, int>> inserts;
    QObject::connect(&model, &QAbstractItemModel::rowsInserted,
                     [&](const QModelIndex&, int first, int last) {
                         inserts.emplace_back(first, last);
                         EXPECT_EQ(model.rowCount(), last + 1) << "the rows exist when told";
                     });
    EXPECT_TRUE(playlist.Add(CLSTString(dir.Path().c_str()), false));
    ASSERT_EQ(inserts, (std::vector<std::pair<int, int>>{{1, 50}}));
    EXPECT_EQ(Text(50, 0), QStringLiteral("song 149.mid"));

    // Later single songs are told at once, as before.
    playlist.AppendSong("/music/last.mid");
    EXPECT_EQ(model.rowCount(), 52);
}

// Anything that touches a row while songs are still being appended first tells the view of
// the rows it does not know yet, so no change ever names a row the view has not seen.
TEST_F(PlayListModelTest, AChangeDuringAnAddFirstShowsTheAppendedRows) {
    std::vector<std::string> told;
    QObject::connect(
        &model, &QAbstractItemModel::rowsInserted, [&](const QModelIndex&, int first, int last) {
            told.push_back("insert " + std::to_string(first) + "-" + std::to_string(last));
        });
    QObject::connect(&model, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& from, const QModelIndex&) {
                         told.push_back("change " + std::to_string(from.row()));
                     });
    model.BeginAppending();
    for (const char* path : {"/a.mid", "/b.mid", "/c.mid"})
        playlist.AppendSong(path);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_FALSE(model.data(model.index(2, 0)).isValid());
    playlist.SetCurrent(2);
    model.EndAppending();
    EXPECT_EQ(told, (std::vector<std::string>{"insert 0-2", "change 2"}));
    EXPECT_EQ(model.rowCount(), 3);
}

} // namespace
