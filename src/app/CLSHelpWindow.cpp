#include "app/CLSHelpWindow.h"

#include "app/Resources.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QRegularExpression>
#include <QScreen>
#include <QSplitter>
#include <QTextBrowser>

#include <algorithm>

namespace {

const QString kHelpRoot = QStringLiteral("qrc:/help/");

// The contents in reading order, each entry titled as its page is.
constexpr int kEntries[] = {
    HelpTopics::kMainWindow,       HelpTopics::kMenus,
    HelpTopics::kPlayList,         HelpTopics::kArchiveChooser,
    HelpTopics::kCustomizeGeneral, HelpTopics::kCustomizeSpectrum,
    HelpTopics::kCustomizeMidi,    HelpTopics::kDevices,
};

QString PageUrl(const std::string& page) {
    return kHelpRoot + QString::fromStdString(page);
}

QString TitleOf(const std::string& page) {
    QFile file(QStringLiteral(":/help/") + QString::fromStdString(page));
    if (!file.open(QIODevice::ReadOnly))
        return QString::fromStdString(page);
    static const QRegularExpression title(QStringLiteral("<title>([^<]*)</title>"));
    const QRegularExpressionMatch match = title.match(QString::fromUtf8(file.readAll()));
    return match.hasMatch() ? match.captured(1) : QString::fromStdString(page);
}

} // namespace

CLSHelpWindow::CLSHelpWindow(QWidget* parent)
    : CLSHelpWindow(HelpTopics::LanguageOfEnvironment(), parent) {}

CLSHelpWindow::CLSHelpWindow(HelpTopics::HelpLanguage language, QWidget* parent)
    : QWidget(parent, Qt::Window), m_language(language), m_contents(new QListWidget),
      m_browser(new QTextBrowser) {
    InitDruvelResources();
    setWindowTitle(tr("Druvel ヘルプ"));
    auto* splitter = new QSplitter;
    splitter->addWidget(m_contents);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    m_browser->setOpenExternalLinks(true);
    FillContents();
    // Wide enough for the longest title, which English makes much longer.
    const int listWidth =
        std::max(280, m_contents->sizeHintForColumn(0) + 2 * m_contents->frameWidth() + 12);
    splitter->setSizes({listWidth, 480});
    connect(m_contents, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { ShowTopic(item->data(Qt::UserRole).toInt()); });
    connect(m_contents, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ShowTopic(item->data(Qt::UserRole).toInt()); });
    // Never larger than the screen it opens on, which a large scale factor makes small.
    const QSize wanted(listWidth + 480 + splitter->handleWidth(), 520);
    resize(screen() ? wanted.boundedTo(screen()->availableGeometry().size()) : wanted);
}

void CLSHelpWindow::FillContents() {
    for (const int topic : kEntries) {
        auto* item =
            new QListWidgetItem(TitleOf(HelpTopics::PageFor(topic, m_language)), m_contents);
        item->setData(Qt::UserRole, topic);
    }
}

void CLSHelpWindow::ShowContents() {
    Open(PageUrl(HelpTopics::ContentsPageFor(m_language)));
}

void CLSHelpWindow::ShowTopic(int topic) {
    Open(PageUrl(HelpTopics::PageFor(topic, m_language)));
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
