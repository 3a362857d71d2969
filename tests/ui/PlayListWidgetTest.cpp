#include "playlist/CLSPlayList.h"
#include "playlist/ui/CLSPlayListModel.h"
#include "playlist/ui/CLSPlayListWidget.h"
#include "playlist/ui/PlayListMarkerImages.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>

#include <memory>
#include <string>

namespace {

class PlayListWidgetTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!QApplication::instance()) {
            static int argc = 1;
            static char name[] = "test_ui";
            static char* argv[] = {name, nullptr};
            s_app = std::make_unique<QApplication>(argc, argv);
        }
    }
    static void TearDownTestSuite() { s_app.reset(); }

    virtual int Songs() const { return 40; }
    void SetUp() override {
        playlist.SetView(&model);
        for (int i = 0; i < Songs(); ++i)
            playlist.AppendSong(CLSTString(("/m/" + std::to_string(i) + ".mid").c_str()));
        widget = std::make_unique<CLSPlayListWidget>(model);
        widget->resize(300, 200);
        widget->show();
        QApplication::processEvents();
    }
    void TearDown() override {
        widget.reset();
        playlist.SetView(nullptr);
    }

    QItemSelectionModel& Selection() { return *widget->selectionModel(); }
    QModelIndex Row(int row) const { return model.index(row, 0); }
    void Select(int row, QItemSelectionModel::SelectionFlags how) {
        Selection().select(Row(row), how | QItemSelectionModel::Rows);
    }
    void Key(Qt::Key key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(widget.get(), &press);
    }
    std::vector<int> SelectedInPlayList() const {
        std::vector<int> rows;
        for (unsigned i = 0; i < playlist.Count(); ++i) {
            if (model.IsSelected(i))
                rows.push_back(static_cast<int>(i));
        }
        return rows;
    }

    static inline std::unique_ptr<QApplication> s_app;
    CLSPlayList playlist;
    CLSPlayListModel model{playlist};
    std::unique_ptr<CLSPlayListWidget> widget;
};

TEST_F(PlayListWidgetTest, TheUsersSelectionReachesThePlayList) {
    Select(3, QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(SelectedInPlayList(), std::vector<int>({3}));

    // A Shift-click range arrives as one change of many rows, a Ctrl-click adds one more.
    Selection().select(QItemSelection(Row(5), model.index(8, 1)), QItemSelectionModel::Select);
    Select(20, QItemSelectionModel::Select);
    EXPECT_EQ(SelectedInPlayList(), std::vector<int>({3, 5, 6, 7, 8, 20}));

    Select(6, QItemSelectionModel::Deselect);
    Selection().clearSelection();
    EXPECT_TRUE(SelectedInPlayList().empty());
    EXPECT_FALSE(playlist.HasSelection());
}

TEST_F(PlayListWidgetTest, PagingDownLeavesOnlyTheNewRowSelected) {
    widget->setFocus();
    widget->setCurrentIndex(Row(0));
    const std::vector<int> start = SelectedInPlayList();
    ASSERT_EQ(start, std::vector<int>({0}));
    Key(Qt::Key_PageDown);
    const std::vector<int> paged = SelectedInPlayList();
    ASSERT_EQ(paged.size(), 1u);
    EXPECT_GT(paged[0], 0);
    EXPECT_EQ(playlist.GetFocused(), paged[0]);
    for (int page = 0; page < 8; ++page)
        Key(Qt::Key_PageDown);
    EXPECT_EQ(SelectedInPlayList(), std::vector<int>({39}));
}

// The rows the widget shows selected are the rows the playlist deletes, and the rest keep
// their selection state through the removals.
TEST_F(PlayListWidgetTest, DeletingTheSelectionRemovesExactlyTheSelectedRows) {
    Selection().select(QItemSelection(Row(2), model.index(4, 1)), QItemSelectionModel::Select);
    Select(10, QItemSelectionModel::Select);
    playlist.DeleteSelected();
    ASSERT_EQ(playlist.Count(), 36u);
    EXPECT_EQ(playlist.GetPath(2), CLSTString("/m/5.mid"));
    EXPECT_EQ(playlist.GetPath(6), CLSTString("/m/9.mid"));
    EXPECT_EQ(playlist.GetPath(7), CLSTString("/m/11.mid"));
    EXPECT_TRUE(SelectedInPlayList().empty());
    EXPECT_FALSE(Selection().hasSelection());
}

TEST_F(PlayListWidgetTest, ThePlayListsOwnSelectionShowsInTheWidget) {
    model.SetSelected(7, true);
    EXPECT_TRUE(Selection().isRowSelected(7, QModelIndex()));
    model.SetSelected(7, false);
    EXPECT_FALSE(Selection().hasSelection());
}

// A right click as the window system delivers it: to the widget under the pointer.
class PlayListContextMenuTest : public PlayListWidgetTest {
protected:
    int Songs() const override { return 3; }
    bool MenuAt(QWidget* target, QPoint at,
                QContextMenuEvent::Reason reason = QContextMenuEvent::Mouse) {
        bool shown = false;
        widget->onContextMenu = [&](const QPoint&) { shown = true; };
        QContextMenuEvent event(reason, at, target->mapToGlobal(at));
        QApplication::sendEvent(target, &event);
        return shown;
    }
};

TEST_F(PlayListContextMenuTest, OnlyARowGivesTheMenu) {
    QWidget* rows = widget->viewport();
    const QRect first = widget->visualRect(Row(0));
    const QRect last = widget->visualRect(Row(2));
    ASSERT_GT(widget->horizontalHeader()->height(), 0);
    EXPECT_TRUE(MenuAt(rows, first.center()));
    EXPECT_TRUE(MenuAt(rows, QPoint(first.center().x(), first.top())));
    EXPECT_TRUE(MenuAt(rows, last.center()));
    EXPECT_FALSE(MenuAt(rows, QPoint(last.center().x(), last.bottom() + 3)));
    EXPECT_FALSE(MenuAt(rows, QPoint(last.center().x(), rows->height() - 2)));
    EXPECT_FALSE(MenuAt(widget->horizontalHeader(), QPoint(10, 3)));
    EXPECT_FALSE(MenuAt(rows, first.center(), QContextMenuEvent::Keyboard));
}

// What the marker column paints in a row: the current ink, the plain ink, or neither.
class PlayListMarkerPaintTest : public PlayListWidgetTest {
protected:
    void SetUp() override {
        PlayListWidgetTest::SetUp();
        model.SetMarkerImages(PlayListMarkerImages::Icon(PlayListMarkerImages::kPlain),
                              PlayListMarkerImages::Icon(PlayListMarkerImages::kCurrent));
    }

    // Pixels of the row's first cell near the given ink.
    int InkIn(int row, const QColor& ink) {
        const QImage shot = widget->viewport()->grab().toImage();
        const QRect cell = widget->visualRect(Row(row));
        int count = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            for (int x = cell.left(); x < cell.left() + 20 && x <= cell.right(); ++x) {
                const QColor c = shot.pixelColor(x, y);
                count += std::abs(c.red() - ink.red()) < 24 &&
                         std::abs(c.green() - ink.green()) < 24 &&
                         std::abs(c.blue() - ink.blue()) < 24;
            }
        }
        return count;
    }
};

TEST_F(PlayListMarkerPaintTest, OnlyTheCurrentRowShowsTheCurrentMarker) {
    // Before the first load no row is marked current.
    EXPECT_EQ(InkIn(1, PlayListMarkerImages::kCurrentInk), 0);
    EXPECT_GT(InkIn(1, PlayListMarkerImages::kPlainInk), 0);

    playlist.SetCurrent(1);
    QApplication::processEvents();
    EXPECT_GT(InkIn(1, PlayListMarkerImages::kCurrentInk), 10);
    EXPECT_EQ(InkIn(0, PlayListMarkerImages::kCurrentInk), 0);
    EXPECT_EQ(InkIn(2, PlayListMarkerImages::kCurrentInk), 0);

    // Selected, the current row keeps its marker over the highlight.
    Select(1, QItemSelectionModel::ClearAndSelect);
    QApplication::processEvents();
    EXPECT_GT(InkIn(1, PlayListMarkerImages::kCurrentInk), 10);

    playlist.Next();
    QApplication::processEvents();
    EXPECT_EQ(InkIn(1, PlayListMarkerImages::kCurrentInk), 0);
    EXPECT_GT(InkIn(2, PlayListMarkerImages::kCurrentInk), 10);
}

// At ratio 2 the marker is drawn at twice the pixels, not a scaled-up ratio-1 picture.
using PlayListMarkerImagesTest = PlayListWidgetTest;

TEST_F(PlayListMarkerImagesTest, EachRatioHasItsOwnDrawing) {
    const QIcon icon = PlayListMarkerImages::Icon(PlayListMarkerImages::kCurrent);
    const int side = PlayListMarkerImages::kSize;
    const QPixmap one = icon.pixmap(QSize(side, side), 1.0);
    const QPixmap two = icon.pixmap(QSize(side, side), 2.0);
    EXPECT_EQ(one.size(), QSize(side, side));
    EXPECT_EQ(two.size(), QSize(2 * side, 2 * side));
    EXPECT_EQ(two.deviceIndependentSize(), QSizeF(side, side));

    const QImage sharp = two.toImage();
    EXPECT_EQ(sharp.pixelColor(side, side).alpha(), 255) << "the sign's middle is filled";
    EXPECT_EQ(sharp.pixelColor(1, 1).alpha(), 0) << "the corner stays clear";

    const QImage plain = PlayListMarkerImages::Draw(PlayListMarkerImages::kPlain, 2.0).toImage();
    EXPECT_NE(plain, sharp.convertToFormat(plain.format()));
}

} // namespace
