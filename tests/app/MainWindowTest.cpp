#include "app/CLSHelpWindow.h"
#include "app/CLSMainWindow.h"
#include "app/HelpTopics.h"

#include "backends/MidiOutDevices.h"
#include "clock/SystemClock.h"
#include "fixtures/TestPaths.h"
#include "midi/CLSMIDIData.h"
#include "output/CaptureMidiOutput.h"
#include "player/CLSCommandRunner.h"
#include "player/CLSPlaybackFlow.h"
#include "player/CommandId.h"
#include "playlist/CLSPlayList.h"
#include "settings/CLSDRUVSettings.h"
#include "settings/ui/CLSCustomizePage.h"
#include "settings/ui/CLSCustomizeSheet.h"
#include "settings/ui/CLSNumberEdit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

int argc = 1;
char arg0[] = "test_app";
char* argv[] = {arg0, nullptr};

const std::string kDemo = std::string(DRUVEL_TEST_DATA) + "/../../resources/demo/druvel-demo.mid";

// The request the application makes once the pointer rests on a widget.
bool TipShownOver(QWidget* target) {
    QToolTip::hideText(); // a shown tip goes a moment later
    QElapsedTimer waited;
    waited.start();
    while (QToolTip::isVisible() && waited.elapsed() < 2000)
        QTest::qWait(10);
    const QPoint at = target->rect().center();
    QHelpEvent event(QEvent::ToolTip, at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &event);
    return QToolTip::isVisible();
}

// The real window over the real engine, playing into a capture file.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings.Width = 800;
        settings.PlayListWidth = 297; // splitter centre 800 - 297 - 3 = 500
        CLSMIDIData::PlaybackSetup setup;
        setup.openOutput = [this](int, std::unique_ptr<MidiOutput>& out) {
            return MidiOutDevices::CreateFromArgument("capture:" + dir.File("capture.txt"),
                                                      SystemClock::Instance(), out);
        };
        engine.SetPlaybackSetup(std::move(setup));
        window = std::make_unique<CLSMainWindow>(settings, engine, playlist);
        window->show();
        // Client area 800 x 600 under the menu bar.
        window->resize(800, 600 + window->menuBar()->height());
        QApplication::processEvents();
    }
    void TearDown() override { window.reset(); }

    QRect At(int id) const { return window->Child(id)->geometry(); }
    QMenu* MenuOf(int id) const { return qobject_cast<QMenu*>(window->MenuAction(id)->parent()); }

    QApplication app{argc, argv};
    TempDir dir;
    CLSDRUVSettings settings;
    CLSMIDIData engine;
    CLSPlayList playlist;
    std::unique_ptr<CLSMainWindow> window;
};

TEST_F(MainWindowTest, NormalModePlacesTheChildrenOfTheWorkedExample) {
    ASSERT_EQ(window->centralWidget()->size(), QSize(800, 600));
    const int h = window->ToolBarHeight();
    EXPECT_EQ(At(kChildSpectrum), QRect(0, 466, 503, 134));
    EXPECT_EQ(At(kChildSeekBar), QRect(0, 443, 800, 21));
    EXPECT_EQ(At(kChildPlayList), QRect(503, 0, 297, 427));
    EXPECT_EQ(At(kChildLyrics), QRect(0, 0, 496, 443 - h));
    EXPECT_EQ(At(kChildTimeLabel).topLeft(), QPoint(0, 443 - h));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(At(kChildTempoSlider + 2 * i), QRect(507, 478 + 44 * i, 289, 17)) << i;

    auto* bar = qobject_cast<QToolBar*>(window->Child(kChildToolBar));
    ASSERT_NE(bar, nullptr);
    for (QAction* button : bar->actions())
        EXPECT_TRUE(bar->widgetForAction(button)->isVisible()) << "in the overflow menu";

    // Wider by 100: the playlist keeps its width, the lyrics take the change.
    window->resize(900, window->height());
    QApplication::processEvents();
    EXPECT_EQ(At(kChildPlayList).width(), 297);
    EXPECT_EQ(At(kChildLyrics).width(), 596);
}

TEST_F(MainWindowTest, FixedModesKeepTheSavedHeightAndLyricsOnlyFillsTheWindow) {
    const int savedHeight = window->height();
    window->SetWindowMode(kCmdModeCompact);
    QApplication::processEvents();
    EXPECT_EQ(window->centralWidget()->height(), window->ToolBarHeight() + 23);
    EXPECT_FALSE(window->Child(kChildPlayList)->isVisible());
    window->SetWindowMode(kCmdModeNormal);
    QApplication::processEvents();
    EXPECT_EQ(settings.Height, savedHeight);
    EXPECT_EQ(window->height(), savedHeight);

    window->SetWindowMode(kCmdModeLyricsOnly);
    QApplication::processEvents();
    EXPECT_EQ(At(kChildLyrics), window->centralWidget()->rect());
    for (int id : {kChildPlayList, kChildSeekBar, kChildSpectrum, kChildToolBar, kChildMarquee})
        EXPECT_FALSE(window->Child(id)->isVisible()) << id;
    EXPECT_EQ(settings.WindowMode, 4);
}

TEST_F(MainWindowTest, MenusFollowThePlaylistAndKeysReachTheCommands) {
    QMenu* play = MenuOf(kCmdPlayPause);
    Q_EMIT play->aboutToShow();
    for (int id : {kCmdPlayPause, kCmdStop, kCmdPrevious, kCmdNext})
        EXPECT_FALSE(window->MenuAction(id)->isEnabled()) << id;
    Q_EMIT MenuOf(kCmdSavePlayList)->aboutToShow();
    EXPECT_FALSE(window->MenuAction(kCmdSavePlayList)->isEnabled());

    window->AddPaths({kDemo});
    Q_EMIT play->aboutToShow();
    EXPECT_TRUE(window->MenuAction(kCmdPlayPause)->isEnabled());
    Q_EMIT MenuOf(kCmdPlayListPlay)->aboutToShow();
    EXPECT_FALSE(window->MenuAction(kCmdPlayListPlay)->isEnabled()) << "no row selected";
    ASSERT_NE(window->MenuAction(kCmdFirstRecent), nullptr) << "the added path is a recent file";

    QApplication::setActiveWindow(window.get());
    QTest::keyClick(window.get(), Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(static_cast<QLabel*>(window->Child(kChildKeyLabel))->text(),
              QStringLiteral("キー： +1"));
}

TEST_F(MainWindowTest, PlayPauseThroughTheToolbarCommandKeepsThePosition) {
    window->AddPaths({kDemo});
    window->Commands().Run(kCmdPlayPause);
    // The output opens aside: the play sounds once its notice has come back.
    QTRY_VERIFY(engine.IsPlaying());
    QTest::qWait(400);
    window->Commands().Run(kCmdPlayPause);
    EXPECT_FALSE(engine.IsPlaying());
    const unsigned paused = engine.GetPosition();
    EXPECT_GT(paused, 200u);
    window->Commands().Run(kCmdPlayPause); // given during the meters' fall: follows it
    EXPECT_TRUE(window->Flow().IsFalling());
    QTRY_VERIFY(engine.IsPlaying());
    EXPECT_GE(engine.GetPosition(), paused);
    window->Shutdown();
    EXPECT_FALSE(engine.IsPlaying());
    EXPECT_FALSE(ReadFileBytes(dir.File("capture.txt")).empty());
}

TEST_F(MainWindowTest, DroppedFilesAndFoldersAreAddedInTheirOrder) {
    settings.SetFlag(CLSDRUVSettings::SearchSubFolder, false);
    const std::string folder = dir.File("songs");
    std::filesystem::create_directories(folder + "/deeper");
    WriteFileBytes(folder + "/c.mid", "");
    WriteFileBytes(folder + "/deeper/d.mid", "");
    WriteFileBytes(dir.File("b.mid"), "");
    WriteFileBytes(dir.File("a.mid"), "");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.File("b.mid"))),
                  QUrl(QStringLiteral("https://example.org/x.mid")),
                  QUrl::fromLocalFile(QString::fromStdString(folder)),
                  QUrl::fromLocalFile(QString::fromStdString(dir.File("a.mid")))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    QApplication::processEvents();

    ASSERT_EQ(playlist.Count(), 3u) << "the web link and the subfolder's song are left out";
    EXPECT_STREQ(playlist.GetPath(0).Text(), dir.File("b.mid").c_str());
    EXPECT_STREQ(playlist.GetPath(1).Text(), (folder + "/c.mid").c_str());
    EXPECT_STREQ(playlist.GetPath(2).Text(), dir.File("a.mid").c_str());
    EXPECT_STREQ(window->MenuAction(kCmdFirstRecent)->text().toUtf8().constData(),
                 ("&1 " + dir.File("a.mid")).c_str());
}

TEST_F(MainWindowTest, F1ShowsTheWindowsTopicAndInsideAMenuTheMenusTopic) {
    auto helpPage = [] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* help = qobject_cast<CLSHelpWindow*>(top))
                return help->CurrentPage().toStdString();
        return std::string();
    };
    QApplication::setActiveWindow(window.get());
    QTest::keyClick(window.get(), Qt::Key_F1);
    EXPECT_EQ(helpPage(), HelpTopics::PageOf(HelpTopics::kMainWindow));

    QMenu* menu = MenuOf(kCmdPlayPause);
    menu->popup(window->mapToGlobal(QPoint(0, 0)));
    QApplication::processEvents();
    QTest::keyClick(menu, Qt::Key_F1);
    menu->close();
    EXPECT_EQ(helpPage(), HelpTopics::PageOf(HelpTopics::kMenus));
}

TEST_F(MainWindowTest, CustomizeAppliesAtOnceAndTheFileMenuFollowsTheNewMaximum) {
    for (int i = 1; i <= 10; ++i)
        settings.AddRecentFile(CLSTString(("/songs/" + std::to_string(i) + ".mid").c_str()));
    window->RebuildRecentMenu();
    ASSERT_NE(window->MenuAction(kCmdFirstRecent + 9), nullptr);
    bool found = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* sheet = qobject_cast<CLSCustomizeSheet*>(top);
            if (sheet == nullptr || !sheet->isVisible())
                continue;
            found = sheet->parentWidget() == window.get();
            sheet->Page(0)->NumberField()->SetText(QStringLiteral("3"));
            sheet->Button(QDialogButtonBox::Ok)->click();
        }
    });
    window->Commands().Run(kCmdCustomize);
    EXPECT_TRUE(found) << "the sheet is owned by the window";
    EXPECT_EQ(settings.RecentMax(), 3);
    EXPECT_NE(window->MenuAction(kCmdFirstRecent + 2), nullptr);
    EXPECT_EQ(window->MenuAction(kCmdFirstRecent + 3), nullptr);
}

TEST_F(MainWindowTest, TheLoadedSongsRowCarriesTheCurrentMarker) {
    window->AddPaths({kDemo, kDemo});
    const QAbstractItemModel& rows =
        *static_cast<QAbstractItemView*>(window->Child(kChildPlayList))->model();
    const auto marker = [&](int row) {
        return rows.data(rows.index(row, 0), Qt::DecorationRole).value<QIcon>();
    };
    ASSERT_FALSE(marker(0).isNull());
    ASSERT_FALSE(marker(1).isNull());
    const QImage current = marker(0).pixmap(15).toImage();
    const QImage plain = marker(1).pixmap(15).toImage();
    EXPECT_NE(current, plain);
    window->Commands().Run(kCmdNext); // loads and plays the second row
    window->Shutdown();
    EXPECT_EQ(marker(1).pixmap(15).toImage(), current);
    EXPECT_EQ(marker(0).pixmap(15).toImage(), plain);
}

TEST_F(MainWindowTest, ToolHintsOffLeaveTheToolbarWithoutTips) {
    auto* bar = qobject_cast<QToolBar*>(window->Child(kChildToolBar));
    ASSERT_NE(bar, nullptr);
    QWidget* open = bar->widgetForAction(bar->actions().at(0));
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(TipShownOver(open));
    EXPECT_EQ(QToolTip::text(), bar->actions().at(0)->text());

    window->Commands().Run(kCmdToolHint);
    ASSERT_FALSE(settings.GetFlag(CLSDRUVSettings::ShowToolHint));
    EXPECT_FALSE(TipShownOver(open)) << QToolTip::text().toStdString();
    window->Commands().Run(kCmdToolHint);
    EXPECT_TRUE(TipShownOver(open));
    QToolTip::hideText();
}

// The pointer resting on a row of an inactive window still shows the row's tip, through the
// application's own tooltip timer; the toolbar's tips keep to the active window.
TEST_F(MainWindowTest, PlaylistTipsShowWhileTheWindowIsInactive) {
    window->AddPaths({kDemo});
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QApplication::processEvents();
    ASSERT_FALSE(window->isActiveWindow());

    auto* view = static_cast<QAbstractItemView*>(window->Child(kChildPlayList));
    const QPoint row = view->visualRect(view->model()->index(0, 0)).center();
    QWindow* handle = window->windowHandle();
    QTest::mouseMove(handle, view->viewport()->mapTo(window.get(), row - QPoint(3, 0)));
    QTest::mouseMove(handle, view->viewport()->mapTo(window.get(), row));
    QElapsedTimer waited;
    waited.start();
    while (!QToolTip::isVisible() && waited.elapsed() < 3000)
        QTest::qWait(20);
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().startsWith(QStringLiteral("ファイル名: ")))
        << QToolTip::text().toStdString();

    auto* bar = qobject_cast<QToolBar*>(window->Child(kChildToolBar));
    EXPECT_FALSE(TipShownOver(bar->widgetForAction(bar->actions().at(0))));
    QToolTip::hideText();
}

} // namespace
