#include "settings/ui/CLSCustomizeMidiPage.h"

#include "settings/CLSCustomizePages.h"
#include "settings/ui/CLSNumberEdit.h"

#include "synth/SoundFontLocator.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

CLSCustomizeMidiPage::CLSCustomizeMidiPage(CLSCustomizePages& pages, Changed changed,
                                           QWidget* parent)
    : CLSCustomizePage(pages, std::move(changed), parent),
      m_adjustVelocity(new QCheckBox(tr("音量を最大にする(&V)"))),
      m_noSendExclusive(new QCheckBox(tr("エクスクルーシブメッセージを送らない(&E)"))),
      m_wordTraceAheadTime(NumberFieldOf(CLSCustomizePages::kMidi)),
      m_soundFontField(new QLineEdit) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_adjustVelocity);
    layout->addWidget(m_noSendExclusive);
    layout->addLayout(
        NumberRow(tr("歌詞を表示するタイミング(&T)："), m_wordTraceAheadTime, tr("ミリ秒前")));

    auto* soundFontRow = new QHBoxLayout;
    auto* soundFontCaption = new QLabel(tr("SoundFont(&S)："));
    soundFontCaption->setBuddy(m_soundFontField);
    m_soundFontField->setReadOnly(true);
    auto* browse = new QPushButton(tr("参照..."));
    auto* automatic = new QPushButton(tr("自動"));
    soundFontRow->addWidget(soundFontCaption);
    soundFontRow->addWidget(m_soundFontField, 1);
    soundFontRow->addWidget(browse);
    soundFontRow->addWidget(automatic);
    layout->addLayout(soundFontRow);
    layout->addStretch();

    const CustomizeMidiValues shown = m_pages.Midi();
    m_adjustVelocity->setChecked(shown.adjustVelocity);
    m_noSendExclusive->setChecked(shown.noSendExclusive);
    m_wordTraceAheadTime->SetText(QString::fromStdString(shown.wordTraceAheadTime));
    m_soundFont = shown.soundFont;
    ShowSoundFont();

    for (QCheckBox* box : {m_adjustVelocity, m_noSendExclusive})
        connect(box, &QCheckBox::clicked, this, [this] { m_changed(); });
    connect(m_wordTraceAheadTime, &CLSNumberEdit::TextChanged, this, [this] { m_changed(); });
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString start = m_soundFont.empty()
                                  ? QString::fromStdString(SoundFontLocator::DefaultFolders()[0])
                                  : QFileInfo(QString::fromStdString(m_soundFont)).path();
        const QString chosen =
            QFileDialog::getOpenFileName(this, QStringLiteral("SoundFont"), start,
                                         tr("SoundFont (*.sf2 *.sf3);;すべてのファイル (*)"));
        if (chosen.isEmpty())
            return;
        m_soundFont = chosen.toStdString();
        ShowSoundFont();
        m_changed();
    });
    connect(automatic, &QPushButton::clicked, this, [this] {
        m_soundFont.clear();
        ShowSoundFont();
        m_changed();
    });
}

// Automatic shows the file the search finds, so the user sees what plays. The field is
// narrow: it shows the file's name, and its tooltip the whole path.
void CLSCustomizeMidiPage::ShowSoundFont() {
    const bool automatic = m_soundFont.empty();
    const std::string path =
        automatic ? SoundFontLocator(SoundFontLocator::DefaultFolders(), "").Find() : m_soundFont;
    const QString full = QString::fromStdString(path);
    const QString name = full.mid(full.lastIndexOf(QLatin1Char('/')) + 1);
    QString text = name;
    if (automatic)
        text = name.isEmpty() ? tr("自動") : tr("自動：%1").arg(name);
    m_soundFontField->setText(text);
    m_soundFontField->setCursorPosition(0);
    m_soundFontField->setToolTip(full);
}

std::optional<std::string> CLSCustomizeMidiPage::Apply() {
    CustomizeMidiValues page;
    page.adjustVelocity = m_adjustVelocity->isChecked();
    page.noSendExclusive = m_noSendExclusive->isChecked();
    page.wordTraceAheadTime = m_wordTraceAheadTime->Text().toStdString();
    page.soundFont = m_soundFont;
    return m_pages.Apply(page);
}
