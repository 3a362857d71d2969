// The window in each language: Qt-free texts and Qt's own dialog texts follow one rule.
#include "app/CLSAboutDialog.h"
#include "app/CLSMainWindow.h"
#include "l10n/Translations.h"
#include "midi/CLSMIDIData.h"
#include "player/CLSMainLayout.h"
#include "playlist/CLSPlayList.h"
#include "settings/CLSDRUVSettings.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

int argc = 1;
char arg0[] = "test_app";
char* argv[] = {arg0, nullptr};

class LanguageTest : public ::testing::TestWithParam<MessagesLocale::Language> {
protected:
    void SetUp() override {
        translations = std::make_unique<Translations>(GetParam());
        translations->InstallIntoApplication();
        window = std::make_unique<CLSMainWindow>(settings, engine, playlist);
    }
    void TearDown() override {
        window.reset();
        translations.reset();
    }

    bool English() const { return GetParam() == MessagesLocale::Language::English; }
    QStringList MenuTitles() const {
        QStringList titles;
        for (QAction* menu : window->menuBar()->actions())
            titles << menu->text();
        return titles;
    }
    QString LabelText(int id) const {
        auto* label = qobject_cast<QLabel*>(window->Child(id));
        return label ? label->text() : QString();
    }

    QApplication app{argc, argv};
    std::unique_ptr<Translations> translations;
    CLSDRUVSettings settings;
    CLSMIDIData engine;
    CLSPlayList playlist;
    std::unique_ptr<CLSMainWindow> window;
};

} // namespace

TEST_P(LanguageTest, MenusDialogsAndStatusTextsSpeakTheChosenLanguage) {
    ASSERT_TRUE(translations->Loaded());
    const QStringList english = {QStringLiteral("&File"), QStringLiteral("&Play"),
                                 QStringLiteral("&View"), QStringLiteral("Play&list"),
                                 QStringLiteral("&Help")};
    const QStringList japanese = {QStringLiteral("ファイル(&F)"), QStringLiteral("再生(&P)"),
                                  QStringLiteral("表示(&V)"), QStringLiteral("プレイリスト(&L)"),
                                  QStringLiteral("ヘルプ(&H)")};
    EXPECT_EQ(MenuTitles(), English() ? english : japanese);

    CLSAboutDialog about(window.get());
    EXPECT_EQ(about.windowTitle(),
              English() ? QStringLiteral("About Druvel") : QStringLiteral("バージョン情報"));

    // A placeholder travels with its translation.
    EXPECT_EQ(LabelText(kChildTempoLabel),
              English() ? QStringLiteral("Tempo: 100%") : QStringLiteral("テンポ： 100%"));

    // Qt's own buttons: Japanese from Qt's catalog, English as Qt is built.
    QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(),
              English() ? QStringLiteral("Cancel") : QStringLiteral("キャンセル"));
}

// One key, one item: a translation that repeats a menu's mnemonic makes the key cycle.
TEST_P(LanguageTest, EnglishMenusGiveEveryItemItsOwnMnemonic) {
    if (!English())
        GTEST_SKIP() << "the Japanese View menu keeps its two C items";
    std::vector<QMenu*> menus = {nullptr};
    for (QAction* top : window->menuBar()->actions())
        menus.push_back(top->menu());
    for (std::size_t i = 0; i < menus.size(); ++i) { // grows with the submenus it meets
        QMenu* menu = menus[i];
        const QList<QAction*> actions = menu ? menu->actions() : window->menuBar()->actions();
        QStringList keys;
        for (QAction* action : actions) {
            if (action->menu() && menu)
                menus.push_back(action->menu());
            const QString text = action->text();
            const qsizetype at = text.indexOf(QLatin1Char('&'));
            if (action->isSeparator() || at < 0 || at + 1 >= text.size())
                continue;
            const QString key = text.mid(at + 1, 1).toLower();
            EXPECT_FALSE(keys.contains(key)) << text.toStdString();
            keys << key;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, LanguageTest,
                         ::testing::Values(MessagesLocale::Language::English,
                                           MessagesLocale::Language::Japanese),
                         [](const auto& tested) {
                             return tested.param == MessagesLocale::Language::English
                                        ? std::string("English")
                                        : std::string("Japanese");
                         });
