#include "settings/ui/CLSCustomizeMidiPage.h"

#include "settings/CLSCustomizePages.h"
#include "settings/ui/CLSNumberEdit.h"

#include <QCheckBox>
#include <QVBoxLayout>

#include <utility>

CLSCustomizeMidiPage::CLSCustomizeMidiPage(CLSCustomizePages& pages, Changed changed,
                                           QWidget* parent)
    : CLSCustomizePage(pages, std::move(changed), parent),
      m_adjustVelocity(new QCheckBox(QStringLiteral("音量を最大にする(&V)"))),
      m_noSendExclusive(new QCheckBox(QStringLiteral("エクスクルーシブメッセージを送らない(&E)"))),
      m_wordTraceAheadTime(NumberFieldOf(CLSCustomizePages::kMidi)) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_adjustVelocity);
    layout->addWidget(m_noSendExclusive);
    layout->addLayout(NumberRow(QStringLiteral("歌詞を表示するタイミング(&T)："),
                                m_wordTraceAheadTime, QStringLiteral("ミリ秒前")));
    layout->addStretch();

    const CustomizeMidiValues shown = m_pages.Midi();
    m_adjustVelocity->setChecked(shown.adjustVelocity);
    m_noSendExclusive->setChecked(shown.noSendExclusive);
    m_wordTraceAheadTime->SetText(QString::fromStdString(shown.wordTraceAheadTime));

    for (QCheckBox* box : {m_adjustVelocity, m_noSendExclusive})
        connect(box, &QCheckBox::clicked, this, [this] { m_changed(); });
    connect(m_wordTraceAheadTime, &CLSNumberEdit::TextChanged, this, [this] { m_changed(); });
}

std::optional<std::string> CLSCustomizeMidiPage::Apply() {
    CustomizeMidiValues page;
    page.adjustVelocity = m_adjustVelocity->isChecked();
    page.noSendExclusive = m_noSendExclusive->isChecked();
    page.wordTraceAheadTime = m_wordTraceAheadTime->Text().toStdString();
    return m_pages.Apply(page);
}
