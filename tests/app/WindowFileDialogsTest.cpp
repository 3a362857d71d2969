#include "app/CLSHelpWindow.h"
#include "app/CLSMainWindow.h"
#include "app/CLSPlayListSaveDialog.h"

#include "fixtures/ArchiveBuilder.h"
#include "fixtures/ReportRecorder.h"
#include "fixtures/TestPaths.h"
#include "midi/CLSMIDIData.h"
#include "playlist/CLSPlayList.h"
#include "playlist/ui/CLSArchiveDialog.h"
#include "settings/CLSDRUVSettings.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

int argc = 1;
char arg0[] = "test_app";
char* argv[] = {arg0, nullptr};

// Acts on the modal dialog of type T once it is shown (each dialog runs its own loop).
template <class T> void WhenShown(std::function<void(T*)> act, int triesLeft = 300) {
    QTimer::singleShot(10, [act, triesLeft] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget()))
            act(dialog);
        else if (triesLeft > 0)
            WhenShown<T>(act, triesLeft - 1);
    });
}

QPushButton* ButtonOf(QWidget* dialog, const char* text) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == QString::fromUtf8(text))
            return button;
    }
    return nullptr;
}

// Types a name into the file dialog's name field, as the user does.
void Type(QFileDialog* dialog, const QString& name) {
    auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(field, nullptr);
    field->setText(name);
}

// The real window; its file dialogs driven as a user would.
class WindowFileDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<CLSMainWindow>(settings, engine, playlist);
        window->show();
        QApplication::processEvents();
    }
    void TearDown() override { window.reset(); }

    // Saves through the dialog: the name typed as given, with the filter at that position.
    void SaveAs(const QString& typed, int filter) {
        WhenShown<CLSPlayListSaveDialog>([this, typed, filter](CLSPlayListSaveDialog* d) {
            d->setDirectory(QString::fromStdString(dir.Path()));
            d->selectNameFilter(CLSPlayListSaveDialog::FilterTexts().at(filter - 1));
            Type(d, typed);
            d->accept();
            if (d->isVisible()) {
                ADD_FAILURE() << "not accepted: " << d->selectedFiles().join(u' ').toStdString();
                d->reject();
            }
        });
        window->SavePlayList();
    }

    QApplication app{argc, argv};
    TempDir dir;
    ReportRecorder errors;
    CLSDRUVSettings settings;
    CLSMIDIData engine;
    CLSPlayList playlist;
    std::unique_ptr<CLSMainWindow> window;
};

} // namespace

TEST_F(WindowFileDialogsTest, AnArchiveAddedToTheWindowOpensTheChooserOverIt) {
    WriteZip(dir.File("pack.zip"), {{"b.mid", "b"}, {"a.mid", "a"}, {"r.txt", "r"}});
    playlist.SetArchiveDialogSize(480, 320);
    bool overWindow = false;
    WhenShown<CLSArchiveDialog>([&](CLSArchiveDialog* chooser) {
        overWindow = chooser->parentWidget() == window.get();
        chooser->resize(500, 330);
        ButtonOf(chooser, "すべて選択(&A)")->click();
        ButtonOf(chooser, "開く(&O)")->click();
    });
    window->AddPaths({dir.File("pack.zip")});
    EXPECT_TRUE(overWindow);
    const std::string zip = dir.File("pack.zip");
    ASSERT_EQ(playlist.Count(), 2u);
    EXPECT_EQ(std::string(playlist.GetPath(0).Text()), zip + ">a.mid");
    EXPECT_EQ(std::string(playlist.GetPath(1).Text()), zip + ">b.mid");
    EXPECT_EQ(playlist.GetArchiveDialogWidth(), 500);
    EXPECT_EQ(playlist.GetArchiveDialogHeight(), 330);
}

TEST_F(WindowFileDialogsTest, TheChoosersHelpOpensTheArchivePage) {
    WriteZip(dir.File("pack.zip"), {{"a.mid", "a"}});
    WhenShown<CLSArchiveDialog>([](CLSArchiveDialog* chooser) {
        ButtonOf(chooser, "ヘルプ(&H)")->click();
        chooser->reject();
    });
    window->AddPaths({dir.File("pack.zip")});
    EXPECT_EQ(playlist.Count(), 0u);
    CLSHelpWindow* help = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<CLSHelpWindow*>(widget))
            help = found;
    }
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->CurrentPage(), QStringLiteral("archive.html"));
}

TEST_F(WindowFileDialogsTest, SaveDialogOffersTheThreeFiltersWithTheirTexts) {
    QStringList shown;
    WhenShown<CLSPlayListSaveDialog>([&shown](CLSPlayListSaveDialog* d) {
        if (auto* combo = d->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
            for (int i = 0; i < combo->count(); ++i)
                shown << combo->itemText(i);
        }
        EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_FALSE(d->testOption(QFileDialog::DontConfirmOverwrite));
        d->reject();
    });
    window->SavePlayList();
    EXPECT_EQ(shown, (QStringList{QStringLiteral("プレイリストファイル (*.m3u)"),
                                  QStringLiteral("リストファイル (*.lst)"),
                                  QStringLiteral("すべてのファイル (*.*)")}));
}

TEST_F(WindowFileDialogsTest, SavingAddsTheFiltersExtensionToANameWithoutOne) {
    playlist.AppendSong("/m/a.mid");
    playlist.AppendSong("/m/x.zip>dir/b.mid");
    const std::string expected = "/m/a.mid\r\n/m/x.zip>dir/b.mid\r\n";
    SaveAs(QStringLiteral("first"), 1);
    EXPECT_EQ(ReadFileBytes(dir.File("first.m3u")), expected);
    SaveAs(QStringLiteral("second"), 2);
    EXPECT_EQ(ReadFileBytes(dir.File("second.lst")), expected);
    SaveAs(QStringLiteral("third"), 3);
    EXPECT_EQ(ReadFileBytes(dir.File("third")), expected);
    SaveAs(QStringLiteral("mine.txt"), 1);
    EXPECT_EQ(ReadFileBytes(dir.File("mine.txt")), expected);
    EXPECT_TRUE(errors.Reports().empty());
}

TEST_F(WindowFileDialogsTest, TheOverwriteQuestionIsAboutTheFileWithTheExtension) {
    playlist.AppendSong("/m/new.mid");
    WriteFileBytes(dir.File("list.m3u"), "/m/old.mid\r\n");
    bool asked = false;
    WhenShown<QMessageBox>([&asked](QMessageBox* box) {
        asked = true;
        box->button(QMessageBox::No) ? box->button(QMessageBox::No)->click() : box->reject();
    });
    QStringList afterNo;
    WhenShown<CLSPlayListSaveDialog>([&](CLSPlayListSaveDialog* d) {
        d->setDirectory(QString::fromStdString(dir.Path()));
        Type(d, QStringLiteral("list"));
        d->accept(); // asks, answered no: the dialog stays
        afterNo << (d->isVisible() ? QStringLiteral("open") : QStringLiteral("closed"));
        d->reject();
    });
    window->SavePlayList();
    EXPECT_TRUE(asked);
    EXPECT_EQ(afterNo, QStringList{QStringLiteral("open")});
    EXPECT_EQ(ReadFileBytes(dir.File("list.m3u")), "/m/old.mid\r\n");
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(dir.File("list"))));
}

TEST_F(WindowFileDialogsTest, AFileThatCannotBeWrittenIsReportedAndNothingChanges) {
    playlist.AppendSong("/m/a.mid");
    WriteFileBytes(dir.File("plain"), "not a folder");
    WhenShown<CLSPlayListSaveDialog>([this](CLSPlayListSaveDialog* d) {
        Type(d, QString::fromStdString(dir.File("plain") + "/list.m3u"));
        d->accept();
        if (d->isVisible())
            d->reject();
    });
    window->SavePlayList();
    ASSERT_EQ(errors.Reports().size(), 1u);
    EXPECT_NE(errors.Reports()[0].text.find("ファイルに書き込めません。"), std::string::npos);
    EXPECT_NE(errors.Reports()[0].text.find("MAIN : "), std::string::npos);
    EXPECT_EQ(errors.Reports()[0].owner, static_cast<const QWidget*>(window.get()));
    EXPECT_EQ(ReadFileBytes(dir.File("plain")), "not a folder");
}
