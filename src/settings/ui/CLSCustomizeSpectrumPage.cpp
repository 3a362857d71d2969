#include "settings/ui/CLSCustomizeSpectrumPage.h"

#include "settings/CLSCustomizePages.h"
#include "settings/CLSDRUVSettings.h"
#include "settings/ui/CLSColorPreview.h"
#include "settings/ui/CLSNumberEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace {

// The preview's place in the original layout, in dialog units.
constexpr int kPreviewWidth = 20;
constexpr int kPreviewHeight = 78;

const char* const kKinds[] = {
    QT_TRANSLATE_NOOP("CLSCustomizeSpectrumPage", "トラック，チャンネル毎に楽器を区別する"),
    QT_TRANSLATE_NOOP("CLSCustomizeSpectrumPage", "トラック，チャンネルで楽器を区別しない"),
    QT_TRANSLATE_NOOP("CLSCustomizeSpectrumPage", "チャンネルスペクトラムを表示する"),
};

const char* const kColorButtons[CLSDRUVSettings::kSpectrumColorCount] = {
    QT_TRANSLATE_NOOP("CLSCustomizeSpectrumPage", "最も上の色(&T)..."),
    QT_TRANSLATE_NOOP("CLSCustomizeSpectrumPage", "上方の色(&U)..."),
    QT_TRANSLATE_NOOP("CLSCustomizeSpectrumPage", "中央の色(&C)..."),
    QT_TRANSLATE_NOOP("CLSCustomizeSpectrumPage", "下方の色(&L)..."),
    QT_TRANSLATE_NOOP("CLSCustomizeSpectrumPage", "最も下の色(&B)..."),
};

// The record keeps colours as 0x00BBGGRR.
QColor ToColor(std::uint32_t value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

std::uint32_t FromColor(const QColor& color) {
    return static_cast<std::uint32_t>(color.red()) |
           (static_cast<std::uint32_t>(color.green()) << 8) |
           (static_cast<std::uint32_t>(color.blue()) << 16);
}

} // namespace

CLSCustomizeSpectrumPage::CLSCustomizeSpectrumPage(CLSCustomizePages& pages, Changed changed,
                                                   ColorChooser chooser, QWidget* parent)
    : CLSCustomizePage(pages, std::move(changed), parent), m_chooser(std::move(chooser)),
      m_meterWidth(NumberFieldOf(CLSCustomizePages::kSpectrum)),
      m_digital(new QCheckBox(tr("デジタルスペクトラム(&D)"))), m_spectrumType(new QComboBox) {
    for (const char* kind : kKinds)
        m_spectrumType->addItem(tr(kind));
    auto* kindLabel = new QLabel(tr("スペクトラムの種類(&T)："));
    kindLabel->setBuddy(m_spectrumType);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(NumberRow(tr("スペクトラムの幅(&L)："), m_meterWidth, tr("ピクセル")));
    layout->addWidget(m_digital);
    auto* kindRow = new QHBoxLayout;
    kindRow->addWidget(kindLabel);
    kindRow->addWidget(m_spectrumType, 1);
    layout->addLayout(kindRow);
    layout->addWidget(CreateColorGroup());
    layout->addStretch();

    const CustomizeSpectrumValues shown = m_pages.Spectrum();
    m_meterWidth->SetText(QString::fromStdString(shown.meterWidth));
    m_digital->setChecked(shown.digital);
    // A kind out of range selects no entry (-1).
    m_spectrumType->setCurrentIndex(shown.spectrumType);

    connect(m_meterWidth, &CLSNumberEdit::TextChanged, this, [this] { m_changed(); });
    connect(m_digital, &QCheckBox::clicked, this, [this] { m_changed(); });
    connect(m_spectrumType, &QComboBox::activated, this, [this] { m_changed(); });
}

QWidget* CLSCustomizeSpectrumPage::CreateColorGroup() {
    auto* group = new QGroupBox(tr("色"));
    auto* buttons = new QVBoxLayout;
    for (int i = 0; i < CLSDRUVSettings::kSpectrumColorCount; ++i) {
        auto* button = new QPushButton(tr(kColorButtons[i]));
        connect(button, &QPushButton::clicked, this, [this, i] { ChooseColor(i); });
        buttons->addWidget(button);
    }
    m_preview = new CLSColorPreview(m_pages.Settings().SpectrumColors,
                                    DialogUnits(fontMetrics(), kPreviewWidth, kPreviewHeight));
    auto* row = new QHBoxLayout(group);
    row->addLayout(buttons);
    row->addSpacing(8);
    row->addWidget(m_preview, 0, Qt::AlignVCenter);
    row->addStretch();
    return group;
}

void CLSCustomizeSpectrumPage::ChooseColor(int iIndex) {
    CLSDRUVSettings& settings = m_pages.Settings();
    // SpectrumColor checks the index.
    const QColor initial = ToColor(settings.SpectrumColor(iIndex));
    const std::optional<QColor> chosen = m_chooser ? m_chooser(this, initial) : std::nullopt;
    if (!chosen || !chosen->isValid())
        return;
    settings.SpectrumColor(iIndex) = FromColor(*chosen);
    m_preview->update();
    m_changed();
}

std::optional<std::string> CLSCustomizeSpectrumPage::Apply() {
    CustomizeSpectrumValues page;
    page.meterWidth = m_meterWidth->Text().toStdString();
    page.digital = m_digital->isChecked();
    page.spectrumType = m_spectrumType->currentIndex();
    return m_pages.Apply(page);
}
