#include "app/CLSAboutDialog.h"
#include "app/CLSHelpWindow.h"
#include "app/HelpTopics.h"
#include "fixtures/CliRunner.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTextStream>

#include <gtest/gtest.h>

namespace {

int argc = 1;
char arg0[] = "test_app";
char* argv[] = {arg0, nullptr};

QString ReadPage(std::string_view page) {
    QFile file(QStringLiteral(":/help/") + QString::fromLatin1(page.data(), page.size()));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

TEST(HelpTopics, EveryTopicAndEveryLinkResolvesToAPage) {
    QApplication app(argc, argv);
    for (int topic = HelpTopics::kFirst; topic <= HelpTopics::kLast; ++topic)
        EXPECT_FALSE(ReadPage(HelpTopics::PageOf(topic)).isEmpty()) << topic;
    EXPECT_EQ(HelpTopics::PageOf(999), HelpTopics::kContentsPage);

    // Links between pages must not dangle.
    const QRegularExpression link(QStringLiteral("href=\"([a-z-]+\\.(?:html|css))\""));
    for (int topic = HelpTopics::kFirst; topic <= HelpTopics::kLast; ++topic) {
        const QString text = ReadPage(HelpTopics::PageOf(topic));
        for (auto it = link.globalMatch(text); it.hasNext();) {
            const QString target = it.next().captured(1);
            EXPECT_TRUE(QFile::exists(QStringLiteral(":/help/") + target)) << target.toStdString();
        }
    }

    CLSHelpWindow window;
    window.ShowTopic(HelpTopics::kArchiveChooser);
    EXPECT_EQ(window.CurrentPage(), QStringLiteral("archive.html"));
    window.ShowContents();
    EXPECT_EQ(window.CurrentPage(), QStringLiteral("index.html"));
}

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened.append(url); }
};

TEST(AboutDialog, LinkOpensTheHomePageAndEscapeCloses) {
    QApplication app(argc, argv);
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    CLSAboutDialog about;
    about.show();
    EXPECT_EQ(about.windowTitle(), QStringLiteral("バージョン情報"));
    EXPECT_EQ(about.LinkLabel()->cursor().shape(), Qt::PointingHandCursor);

    QLabel* link = about.LinkLabel();
    const QPointF inside(link->width() / 2.0, link->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, inside, link->mapToGlobal(inside), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, inside, link->mapToGlobal(inside),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(link, &press);
    QApplication::sendEvent(link, &release);
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened[0], CLSAboutDialog::HomePage());
    EXPECT_TRUE(about.isVisible()) << "the box stays open after the link";

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&about, &escape);
    EXPECT_FALSE(about.isVisible());
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
}

TEST(AboutDialog, TheBoxAndTheCommandLineShowTheOneVersion) {
    QApplication app(argc, argv);
    CLSAboutDialog about;
    bool shown = false;
    for (const QLabel* label : about.findChildren<QLabel*>())
        shown |= label->text() == QStringLiteral("Version 1.22");
    EXPECT_TRUE(shown);
    EXPECT_EQ(RunCli("--version").out, "druvel-cli 1.22\n");
}

} // namespace

#include "HelpAndAboutTest.moc"
