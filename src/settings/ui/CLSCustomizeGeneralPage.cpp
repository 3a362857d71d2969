#include "settings/ui/CLSCustomizeGeneralPage.h"

#include "settings/CLSCustomizePages.h"
#include "settings/ui/CLSNumberEdit.h"

#include <QCheckBox>
#include <QVBoxLayout>

CLSCustomizeGeneralPage::CLSCustomizeGeneralPage(CLSCustomizePages& pages, Changed changed,
                                                 QWidget* parent)
    : CLSCustomizePage(pages, std::move(changed), parent),
      m_recentMax(NumberFieldOf(CLSCustomizePages::kGeneral)),
      m_searchSubFolder(
          new QCheckBox(tr("「フォルダを開く」メニューでサブフォルダも検索する(&S)"))),
      m_permitMultiExecute(new QCheckBox(tr("２重起動を許可する(&P)"))),
      m_restorePlayList(new QCheckBox(tr("プレイリストを復元する(&L)"))) {
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(NumberRow(tr("最近開いたファイルの最大数(&R)："), m_recentMax, tr("個")));
    layout->addWidget(m_searchSubFolder);
    layout->addWidget(m_permitMultiExecute);
    layout->addWidget(m_restorePlayList);
    layout->addStretch();

    const CustomizeGeneralValues shown = m_pages.General();
    m_recentMax->SetText(QString::fromStdString(shown.recentMax));
    m_searchSubFolder->setChecked(shown.searchSubFolder);
    m_permitMultiExecute->setChecked(shown.permitMultiExecute);
    m_restorePlayList->setChecked(shown.restorePlayList);

    connect(m_recentMax, &CLSNumberEdit::TextChanged, this, [this] { m_changed(); });
    for (QCheckBox* box : {m_searchSubFolder, m_permitMultiExecute, m_restorePlayList})
        connect(box, &QCheckBox::clicked, this, [this] { m_changed(); });
}

std::optional<std::string> CLSCustomizeGeneralPage::Apply() {
    CustomizeGeneralValues page;
    page.recentMax = m_recentMax->Text().toStdString();
    page.searchSubFolder = m_searchSubFolder->isChecked();
    page.permitMultiExecute = m_permitMultiExecute->isChecked();
    page.restorePlayList = m_restorePlayList->isChecked();
    return m_pages.Apply(page);
}
