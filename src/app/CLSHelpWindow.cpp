#include "app/CLSHelpWindow.h"

#include "app/HelpTopics.h"

#include "app/Resources.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QSplitter>
#include <QTextBrowser>

namespace {

const QString kHelpRoot = QStringLiteral("qrc:/help/");

struct ContentsEntry {
    const char* title;
    int topic;
};

// The contents in reading order; the same titles the pages carry.
constexpr ContentsEntry kEntries[] = {
    {QT_TRANSLATE_NOOP("CLSHelpWindow", "メインウィンドウ"), HelpTopics::kMainWindow},
    {QT_TRANSLATE_NOOP("CLSHelpWindow", "メニューとキー操作"), HelpTopics::kMenus},
    {QT_TRANSLATE_NOOP("CLSHelpWindow", "プレイリストと曲の追加"), HelpTopics::kPlayList},
    {QT_TRANSLATE_NOOP("CLSHelpWindow", "アーカイブ内のファイルを開く"),
     HelpTopics::kArchiveChooser},
    {QT_TRANSLATE_NOOP("CLSHelpWindow", "カスタマイズ：一般"), HelpTopics::kCustomizeGeneral},
    {QT_TRANSLATE_NOOP("CLSHelpWindow", "カスタマイズ：スペクトラム"),
     HelpTopics::kCustomizeSpectrum},
    {QT_TRANSLATE_NOOP("CLSHelpWindow", "カスタマイズ：MIDI"), HelpTopics::kCustomizeMidi},
    {QT_TRANSLATE_NOOP("CLSHelpWindow", "出力デバイス、設定ファイル、端末用プログラム"),
     HelpTopics::kDevices},
};

QString PageUrl(std::string_view page) {
    return kHelpRoot + QString::fromLatin1(page.data(), static_cast<qsizetype>(page.size()));
}

} // namespace

CLSHelpWindow::CLSHelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_contents(new QListWidget), m_browser(new QTextBrowser) {
    InitDruvelResources();
    setWindowTitle(tr("Druvel ヘルプ"));
    auto* splitter = new QSplitter;
    splitter->addWidget(m_contents);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({280, 480});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    m_browser->setOpenExternalLinks(true);
    FillContents();
    connect(m_contents, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { ShowTopic(item->data(Qt::UserRole).toInt()); });
    connect(m_contents, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ShowTopic(item->data(Qt::UserRole).toInt()); });
    resize(760, 520);
}

void CLSHelpWindow::FillContents() {
    for (const ContentsEntry& entry : kEntries) {
        auto* item = new QListWidgetItem(tr(entry.title), m_contents);
        item->setData(Qt::UserRole, entry.topic);
    }
}

void CLSHelpWindow::ShowContents() {
    Open(PageUrl(HelpTopics::kContentsPage));
}

void CLSHelpWindow::ShowTopic(int topic) {
    Open(PageUrl(HelpTopics::PageOf(topic)));
}

QString CLSHelpWindow::CurrentPage() const {
    return QFileInfo(m_browser->source().path()).fileName();
}

void CLSHelpWindow::Open(const QString& page) {
    m_browser->setSource(QUrl(page));
    show();
    raise();
    activateWindow();
}
