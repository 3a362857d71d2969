#include "settings/ui/CLSCustomizeSheet.h"

#include "controls/ControlFonts.h"
#include "settings/ui/CLSCustomizeGeneralPage.h"
#include "settings/ui/CLSCustomizeMidiPage.h"
#include "settings/ui/CLSNumberEdit.h"

#include <QColorDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// Help topics of the pages, in page order.
constexpr int kFirstPageTopic = 103;
// A page of the original layout, in dialog units.
constexpr int kPageWidth = 220;
constexpr int kPageHeight = 150;

const char* const kPageCaptions[CLSCustomizePages::kPageCount] = {
    QT_TRANSLATE_NOOP("CLSCustomizeSheet", "一般"),
    QT_TRANSLATE_NOOP("CLSCustomizeSheet", "スペクトラム"),
    "MIDI",
};

// The custom colours start black with every run, then keep what the user put there.
void PrepareCustomColors() {
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    for (int i = 0; i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(i, QColor(Qt::black));
}

} // namespace

CLSCustomizeSheet::CLSCustomizeSheet(CLSDRUVSettings& settings, QWidget* owner)
    : QDialog(owner), m_pages(settings), m_tabs(new QTabWidget),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                     QDialogButtonBox::Apply | QDialogButtonBox::Help)) {
    ControlFonts::RegisterSubstitutions();
    setFont(QFont(QStringLiteral("MS UI Gothic"), 9));
    setWindowTitle(tr("カスタマイズ"));
    // Modal to the window only: the help it opens stays usable beside it.
    setWindowModality(Qt::WindowModal);
    PrepareCustomColors();

    for (const char* caption : kPageCaptions) {
        auto* holder = new QWidget;
        // The original page size as a floor; a page that needs more still gets it.
        const QSize page =
            CLSCustomizePage::DialogUnits(QFontMetrics(font()), kPageWidth, kPageHeight);
        auto* holderLayout = new QGridLayout(holder);
        holderLayout->setContentsMargins(0, 0, 0, 0);
        holderLayout->setColumnMinimumWidth(0, page.width());
        holderLayout->setRowMinimumHeight(0, page.height());
        m_tabs->addTab(holder, tr(caption));
    }
    Button(QDialogButtonBox::Cancel)->setText(tr("キャンセル"));
    Button(QDialogButtonBox::Apply)->setText(tr("適用(&A)"));
    Button(QDialogButtonBox::Help)->setText(tr("ヘルプ"));
    Button(QDialogButtonBox::Apply)->setEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_buttons);

    const int start = CLSCustomizePages::LastPage();
    EnsurePage(start);
    m_tabs->setCurrentIndex(start);
    connect(m_tabs, &QTabWidget::currentChanged, this, &CLSCustomizeSheet::PageShown);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CLSCustomizeSheet::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &CLSCustomizeSheet::reject);
    connect(m_buttons, &QDialogButtonBox::helpRequested, this, &CLSCustomizeSheet::Help);
    connect(Button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
            &CLSCustomizeSheet::Apply);
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, &CLSCustomizeSheet::Help);
}

CLSCustomizeSheet::~CLSCustomizeSheet() = default;

CLSCustomizePage* CLSCustomizeSheet::Page(int index) const {
    if (index < 0 || index >= CLSCustomizePages::kPageCount)
        return nullptr;
    return m_built[static_cast<std::size_t>(index)];
}

QPushButton* CLSCustomizeSheet::Button(QDialogButtonBox::StandardButton which) const {
    return m_buttons->button(which);
}

void CLSCustomizeSheet::EnsurePage(int index) {
    if (Page(index) != nullptr || index < 0 || index >= CLSCustomizePages::kPageCount)
        return;
    const auto changed = [this] { MarkChanged(); };
    // Built inside its tab, so it measures with the sheet's font from the start.
    QWidget* holder = m_tabs->widget(index);
    CLSCustomizePage* page = nullptr;
    switch (index) {
    case CLSCustomizePages::kGeneral:
        page = new CLSCustomizeGeneralPage(m_pages, changed, holder);
        break;
    case CLSCustomizePages::kSpectrum:
        page = new CLSCustomizeSpectrumPage(
            m_pages, changed,
            [this](QWidget* owner, QColor initial) {
                return m_chooser ? m_chooser(owner, initial) : std::nullopt;
            },
            holder);
        break;
    default:
        page = new CLSCustomizeMidiPage(m_pages, changed, holder);
        break;
    }
    static_cast<QGridLayout*>(holder->layout())->addWidget(page, 0, 0);
    m_built[static_cast<std::size_t>(index)] = page;
    m_pages.Create(index);
    m_pages.Activate(index);
}

void CLSCustomizeSheet::PageShown(int index) {
    EnsurePage(index);
    m_pages.Activate(index);
}

void CLSCustomizeSheet::MarkChanged() {
    Button(QDialogButtonBox::Apply)->setEnabled(true);
}

int CLSCustomizeSheet::ApplyPages() {
    int applied = 0;
    m_firstRefused = -1;
    for (int i = 0; i < CLSCustomizePages::kPageCount; ++i) {
        CLSCustomizePage* page = Page(i);
        if (page == nullptr)
            continue;
        if (const std::optional<std::string> warning = page->Apply()) {
            if (m_firstRefused < 0)
                m_firstRefused = i;
            if (m_warn)
                m_warn(page, QString::fromStdString(*warning));
            continue;
        }
        ++applied;
        if (m_applied)
            m_applied();
    }
    return applied;
}

bool CLSCustomizeSheet::ApplyAll() {
    ApplyPages();
    if (m_firstRefused < 0) {
        Button(QDialogButtonBox::Cancel)->setText(tr("キャンセル"));
        Button(QDialogButtonBox::Apply)->setText(tr("適用(&A)"));
        Button(QDialogButtonBox::Help)->setText(tr("ヘルプ"));
        Button(QDialogButtonBox::Apply)->setEnabled(false);
        return true;
    }
    // Back to the refused page, its number ready to be corrected.
    m_tabs->setCurrentIndex(m_firstRefused);
    Page(m_firstRefused)->NumberField()->setFocus();
    return false;
}

void CLSCustomizeSheet::accept() {
    if (ApplyAll())
        QDialog::accept();
}

void CLSCustomizeSheet::Apply() {
    ApplyAll();
}

void CLSCustomizeSheet::Help() {
    if (m_help)
        m_help(kFirstPageTopic + m_tabs->currentIndex());
}

std::optional<QColor> CLSCustomizeSheet::ChooseColor(QWidget* owner, QColor initial) {
    const QColor chosen = QColorDialog::getColor(initial, owner);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

void CLSCustomizeSheet::ShowWarning(QWidget* owner, const QString& text) {
    QMessageBox::warning(owner, QStringLiteral("Druvel"), text);
}
