#include "playlist/ui/CLSArchiveDialog.h"

#include "fixtures/ArchiveBuilder.h"
#include "fixtures/ReportRecorder.h"
#include "fixtures/TestPaths.h"

#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

const std::string kLongName =
    "m a member whose name is far wider than the list box of the dialog at its default size.mid";

class ArchiveDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteZip(zip, {{"dir/", ""},
                       {"b.mid", "b"},
                       {"dir/z.mid", "z"},
                       {"A.mid", "a"},
                       {"readme.txt", "r"},
                       {"c.MID", "c"},
                       {kLongName, "l"},
                       {"x.mid", "x"}});
    }

    void Prepare(const std::string& path, int openWidth = 400, int openHeight = 300) {
        dialog.Prepare(nullptr, CLSTString(path.c_str()), openWidth, openHeight);
    }
    Names Shown() const {
        Names names;
        for (int row = 0; row < dialog.List()->count(); ++row)
            names.push_back(dialog.List()->item(row)->text().toStdString());
        return names;
    }
    static Names Bytes(const CLSTStringArray& members) {
        Names names;
        for (const CLSTString& member : members)
            names.push_back(member.Text());
        return names;
    }
    QPushButton* Button(const char* text) const {
        for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
            if (button->text() == QString::fromUtf8(text))
                return button;
        }
        return nullptr;
    }
    // Runs Choose with `act` done inside its modal loop.
    bool Choose(const std::function<void()>& act, CLSTStringArray& chosen) {
        QTimer::singleShot(0, &dialog, act);
        return dialog.Choose(nullptr, CLSTString(zip.c_str()), width, height, chosen);
    }

    TempDir dir;
    std::string zip = dir.File("songs.zip");
    ReportRecorder errors;
    CLSArchiveDialog dialog;
    int width = 400;
    int height = 300;
};

} // namespace

TEST_F(ArchiveDialogTest, OpensWithTheSongsSearchedAndSortedAndTheTextsOfTheDialog) {
    Prepare(zip);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("アーカイブ内のファイルを開く"));
    EXPECT_EQ(dialog.FilterEdit()->text(), QStringLiteral("*.mid"));
    EXPECT_EQ(Shown(), (Names{"A.mid", "b.mid", "c.MID", "dir/z.mid", kLongName, "x.mid"}));
    for (const char* text : {"開く(&O)", "すべて選択(&A)", "キャンセル", "ヘルプ(&H)", "検索(&S)"})
        EXPECT_NE(Button(text), nullptr) << text;
    EXPECT_TRUE(Button("検索(&S)")->isDefault());
    EXPECT_EQ(dialog.List()->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_TRUE(errors.Reports().empty());
}

TEST_F(ArchiveDialogTest, SearchReplacesTheListWithTheFilterMatches) {
    Prepare(zip);
    dialog.FilterEdit()->setText(QStringLiteral("*.txt"));
    Button("検索(&S)")->click();
    EXPECT_EQ(Shown(), Names{"readme.txt"});
    dialog.FilterEdit()->setText(QStringLiteral("*.rmi"));
    dialog.Search();
    EXPECT_EQ(Shown(), Names{});
    dialog.FilterEdit()->setText(QStringLiteral("*.*"));
    dialog.Search();
    EXPECT_EQ(Shown().size(), 7u); // every member but the folder
}

TEST_F(ArchiveDialogTest, EnterSearchesInTheFilterAndOpensInTheList) {
    Prepare(zip);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.FilterEdit()->setText(QStringLiteral("*.txt"));
    QTest::keyClick(dialog.FilterEdit(), Qt::Key_Return);
    EXPECT_EQ(Shown(), Names{"readme.txt"});
    EXPECT_TRUE(dialog.isVisible());

    dialog.FilterEdit()->setText(QStringLiteral("*.mid"));
    dialog.Search();
    dialog.List()->item(1)->setSelected(true);
    QTest::keyClick(dialog.List(), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Bytes(dialog.SelectedMembers()), Names{"b.mid"});
}

TEST_F(ArchiveDialogTest, SelectAllAndOpenGiveEveryMemberInListOrder) {
    CLSTStringArray chosen;
    EXPECT_TRUE(Choose(
        [this] {
            Button("すべて選択(&A)")->click();
            Button("開く(&O)")->click();
        },
        chosen));
    EXPECT_EQ(Bytes(chosen), (Names{"A.mid", "b.mid", "c.MID", "dir/z.mid", kLongName, "x.mid"}));
}

TEST_F(ArchiveDialogTest, OpenGivesTheSelectionInListOrderNotInClickOrder) {
    CLSTStringArray chosen;
    EXPECT_TRUE(Choose(
        [this] {
            dialog.List()->item(3)->setSelected(true);
            dialog.List()->item(0)->setSelected(true);
            Button("開く(&O)")->click();
        },
        chosen));
    EXPECT_EQ(Bytes(chosen), (Names{"A.mid", "dir/z.mid"}));
}

TEST_F(ArchiveDialogTest, CancelChoosesNothingAndBothWaysTheSizeIsRemembered) {
    CLSTStringArray chosen;
    EXPECT_FALSE(Choose(
        [this] {
            Button("すべて選択(&A)")->click();
            dialog.resize(520, 340);
            Button("キャンセル")->click();
        },
        chosen));
    EXPECT_EQ(chosen.size(), 0u);
    EXPECT_EQ(width, 520);
    EXPECT_EQ(height, 340);

    // The next opening starts at that size, and closing by open writes it back as well.
    EXPECT_TRUE(Choose(
        [this] {
            EXPECT_EQ(dialog.size(), QSize(520, 340));
            dialog.resize(610, 420);
            dialog.OpenSelection();
        },
        chosen));
    EXPECT_EQ(width, 610);
    EXPECT_EQ(height, 420);
}

TEST_F(ArchiveDialogTest, NeverSmallerThanTheMinimum) {
    Prepare(zip, 120, 80);
    EXPECT_EQ(dialog.size(), QSize(400, 200));
    dialog.show();
    dialog.resize(150, 90);
    EXPECT_EQ(dialog.size(), QSize(400, 200));
    // At the minimum, the list still ends above the buttons.
    const QRect list = dialog.List()->geometry();
    EXPECT_EQ(list.bottom() + 1 + 4, Button("開く(&O)")->y());
    EXPECT_EQ(Button("ヘルプ(&H)")->geometry().bottom() + 1 + 6, 200);
}

TEST_F(ArchiveDialogTest, TheListScrollsToTheWholeWidestName) {
    Prepare(zip);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QListWidget* list = dialog.List();
    const int widest = list->fontMetrics().horizontalAdvance(QString::fromStdString(kLongName));
    ASSERT_GT(widest, list->viewport()->width());
    // Scrolled to its end, the list shows the widest name whole, with room beside it.
    EXPECT_GE(list->horizontalScrollBar()->maximum() + list->viewport()->width(), widest + 4);
    // A shorter list afterwards shrinks the extent again.
    dialog.FilterEdit()->setText(QStringLiteral("a.mid"));
    dialog.Search();
    QApplication::processEvents();
    EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0);
}

TEST_F(ArchiveDialogTest, ListsTheCompressedLzhSong) {
    Prepare(std::string(DRUVEL_TEST_DATA) + "/lh5-song.lzh");
    EXPECT_EQ(Shown(), Names{"song one.mid"});
    dialog.SelectAll();
    EXPECT_EQ(Bytes(dialog.SelectedMembers()), Names{"song one.mid"});
}

TEST_F(ArchiveDialogTest, AnUnreadableArchiveIsReportedOverTheDialogAndListsNothing) {
    WriteFileBytes(dir.File("junk.zip"), "not an archive");
    Prepare(dir.File("junk.zip"));
    EXPECT_EQ(Shown(), Names{});
    ASSERT_EQ(errors.Reports().size(), 1u);
    EXPECT_EQ(errors.Reports()[0].owner, static_cast<const QWidget*>(&dialog));
    EXPECT_EQ(Bytes(dialog.SelectedMembers()), Names{});
}

TEST_F(ArchiveDialogTest, HelpButtonAndF1AskForHelp) {
    int asked = 0;
    dialog.onHelp = [&asked] { ++asked; };
    Prepare(zip);
    Button("ヘルプ(&H)")->click();
    QTest::keyClick(dialog.List(), Qt::Key_F1);
    EXPECT_EQ(asked, 2);
}

TEST_F(ArchiveDialogTest, ShowsTheArrowWhileTheCallerShowsTheWaitCursor) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    Qt::CursorShape during = Qt::WaitCursor;
    CLSTStringArray chosen;
    Choose(
        [&] {
            during = QGuiApplication::overrideCursor()->shape();
            dialog.reject();
        },
        chosen);
    EXPECT_EQ(during, Qt::ArrowCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QGuiApplication::restoreOverrideCursor();
}

TEST_F(ArchiveDialogTest, AnArchiveArrivingWhileTheChooserIsOpenGetsItsOwnChooser) {
    CLSTStringArray outer;
    CLSTStringArray inner;
    bool innerOpened = false;
    int innerWidth = 400;
    int innerHeight = 300;
    const std::string lzh = std::string(DRUVEL_TEST_DATA) + "/lh5-song.lzh";
    EXPECT_TRUE(Choose(
        [&] {
            QTimer::singleShot(0, [] {
                auto* nested = qobject_cast<CLSArchiveDialog*>(QApplication::activeModalWidget());
                if (nested) {
                    nested->SelectAll();
                    nested->OpenSelection();
                }
            });
            innerOpened =
                dialog.Choose(nullptr, CLSTString(lzh.c_str()), innerWidth, innerHeight, inner);
            // The outer chooser still shows its own archive.
            dialog.List()->item(0)->setSelected(true);
            dialog.OpenSelection();
        },
        outer));
    EXPECT_TRUE(innerOpened);
    EXPECT_EQ(Bytes(inner), Names{"song one.mid"});
    EXPECT_EQ(Bytes(outer), Names{"A.mid"});
}
