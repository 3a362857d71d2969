#include "app/CLSHelpWindow.h"
#include "app/HelpTopics.h"
#include "app/Resources.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QRegularExpression>
#include <QTextBrowser>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace {

using HelpTopics::HelpLanguage;

int argc = 1;
char arg0[] = "test_app";
char* argv[] = {arg0, nullptr};

const QString kRoot = QStringLiteral(":/help/");

QString Folder(HelpLanguage language) {
    return language == HelpLanguage::English ? QStringLiteral("en/") : QString();
}

QString Read(const QString& relative) {
    QFile file(kRoot + relative);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList Captures(const QString& text, const QString& pattern) {
    QStringList found;
    const QRegularExpression expression(pattern);
    for (auto it = expression.globalMatch(text); it.hasNext();)
        found << it.next().captured(1);
    return found;
}

QStringList Anchors(const QString& text) {
    return Captures(text, QStringLiteral("\\b(?:id|name)=\"([^\"]+)\""));
}

QStringList Links(const QString& text) {
    return Captures(text, QStringLiteral("\\b(?:href|src)=\"([^\"]+)\""));
}

QStringList Pages(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

TEST(HelpPages, EveryTopicAndTheContentsResolveInBothLanguages) {
    InitDruvelResources();
    for (const auto& [language, lang] :
         {std::pair{HelpLanguage::Japanese, "ja"}, std::pair{HelpLanguage::English, "en"}}) {
        std::vector<std::string> pages{HelpTopics::ContentsPageFor(language)};
        for (int topic = HelpTopics::kFirst; topic <= HelpTopics::kLast; ++topic)
            pages.push_back(HelpTopics::PageFor(topic, language));
        for (const std::string& page : pages) {
            const QString text = Read(QString::fromStdString(page));
            ASSERT_FALSE(text.isEmpty()) << page;
            EXPECT_TRUE(
                text.contains(QStringLiteral("<html lang=\"%1\">").arg(QLatin1String(lang))))
                << page;
        }
    }
    EXPECT_EQ(HelpTopics::PageFor(HelpTopics::kArchiveChooser, HelpLanguage::English),
              "en/archive.html");
    EXPECT_EQ(HelpTopics::PageFor(HelpTopics::kArchiveChooser, HelpLanguage::Japanese),
              "archive.html");
}

// Links and anchors of every page, within its own language's set; the two sets alike.
TEST(HelpPages, BothSetsHaveTheSamePagesAnchorsAndLinksAndEveryLinkResolves) {
    InitDruvelResources();
    const QStringList japanese = Pages(kRoot);
    EXPECT_EQ(japanese, Pages(kRoot + QStringLiteral("en/")));
    EXPECT_TRUE(japanese.contains(QStringLiteral("help.css")));
    for (const QString& page : japanese) {
        const QString ja = Read(page);
        const QString en = Read(QStringLiteral("en/") + page);
        EXPECT_EQ(Anchors(ja), Anchors(en)) << page.toStdString();
        EXPECT_EQ(Links(ja), Links(en)) << page.toStdString();
        for (const HelpLanguage language : {HelpLanguage::Japanese, HelpLanguage::English}) {
            for (const QString& link : Links(Read(Folder(language) + page))) {
                if (link.contains(QStringLiteral("://")) ||
                    link.startsWith(QStringLiteral("mailto:")))
                    continue;
                const QString target = link.section(u'#', 0, 0);
                const QString fragment = link.section(u'#', 1);
                const QString path = Folder(language) + (target.isEmpty() ? page : target);
                ASSERT_TRUE(QFile::exists(kRoot + path))
                    << page.toStdString() << " -> " << path.toStdString();
                if (!fragment.isEmpty()) {
                    EXPECT_TRUE(Anchors(Read(path)).contains(fragment)) << link.toStdString();
                }
            }
        }
    }
}

// The installed pages are the source folder's; the built-in ones must be the same set.
TEST(HelpPages, TheBuiltInSetsAreTheSourceFolders) {
    InitDruvelResources();
    const QString source = QStringLiteral(DRUVEL_TEST_DATA "/../../resources/help/");
    ASSERT_TRUE(QDir(source).exists());
    EXPECT_EQ(Pages(kRoot), Pages(source));
    EXPECT_EQ(Pages(kRoot + QStringLiteral("en/")), Pages(source + QStringLiteral("en/")));
}

TEST(HelpPages, TheLanguageComesFromTheFirstSetLocaleVariable) {
    using HelpTopics::LanguageOfCode;
    for (const char* code : {"ja", "ja_JP.UTF-8", "ja_JP.eucJP", "C", "C.UTF-8", "POSIX", ""})
        EXPECT_EQ(LanguageOfCode(code), HelpLanguage::Japanese) << code;
    for (const char* code : {"en", "en_US.UTF-8", "de_DE.UTF-8", "jv_ID", "jam"})
        EXPECT_EQ(LanguageOfCode(code), HelpLanguage::English) << code;

    std::map<std::string, std::optional<std::string>> saved;
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        saved[name] = value ? std::optional<std::string>(value) : std::nullopt;
        unsetenv(name);
    }
    EXPECT_EQ(HelpTopics::LanguageOfEnvironment(), HelpLanguage::Japanese);
    setenv("LANG", "en_GB.UTF-8", 1);
    EXPECT_EQ(HelpTopics::LanguageOfEnvironment(), HelpLanguage::English);
    setenv("LC_MESSAGES", "ja_JP.UTF-8", 1);
    EXPECT_EQ(HelpTopics::LanguageOfEnvironment(), HelpLanguage::Japanese);
    setenv("LC_ALL", "", 1);
    EXPECT_EQ(HelpTopics::LanguageOfEnvironment(), HelpLanguage::Japanese) << "empty is unset";
    setenv("LANGUAGE", "en:ja", 1);
    EXPECT_EQ(HelpTopics::LanguageOfEnvironment(), HelpLanguage::English);
    for (const auto& [name, value] : saved) {
        if (value)
            setenv(name.c_str(), value->c_str(), 1);
        else
            unsetenv(name.c_str());
    }
}

TEST(HelpPages, TheWindowShowsOneLanguagesPagesAndTitles) {
    QApplication app(argc, argv);
    CLSHelpWindow english(HelpLanguage::English);
    english.ShowTopic(HelpTopics::kArchiveChooser);
    auto* browser = english.findChild<QTextBrowser*>();
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->source().path(), QStringLiteral("/help/en/archive.html"));
    EXPECT_EQ(browser->documentTitle(), QStringLiteral("Opening Files in an Archive"));
    auto* contents = english.findChild<QListWidget*>();
    ASSERT_NE(contents, nullptr);
    ASSERT_EQ(contents->count(), HelpTopics::kLast - HelpTopics::kFirst + 1);
    EXPECT_EQ(contents->item(0)->text(), QStringLiteral("The Main Window"));
    english.ShowContents();
    EXPECT_GE(contents->viewport()->width(), contents->sizeHintForColumn(0))
        << "every title of the contents shows whole";
    EXPECT_EQ(browser->source().path(), QStringLiteral("/help/en/index.html"));

    CLSHelpWindow japanese(HelpLanguage::Japanese);
    japanese.ShowTopic(HelpTopics::kMainWindow);
    EXPECT_EQ(japanese.findChild<QTextBrowser*>()->source().path(),
              QStringLiteral("/help/main.html"));
    EXPECT_EQ(japanese.findChild<QListWidget*>()->item(0)->text(),
              QString::fromUtf8("メインウィンドウ"));
}

} // namespace
