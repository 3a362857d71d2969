#pragma once

#include "settings/ui/CLSCustomizePage.h"

#include <QCoreApplication>

class QCheckBox;

// "一般": the recent-files maximum, folder search, second instances, playlist restore.
class CLSCustomizeGeneralPage : public CLSCustomizePage {
    Q_DECLARE_TR_FUNCTIONS(CLSCustomizeGeneralPage)

public:
    CLSCustomizeGeneralPage(CLSCustomizePages& pages, Changed changed, QWidget* parent = nullptr);

    std::optional<std::string> Apply() override;
    CLSNumberEdit* NumberField() const override { return m_recentMax; }

private:
    CLSNumberEdit* m_recentMax;
    QCheckBox* m_searchSubFolder;
    QCheckBox* m_permitMultiExecute;
    QCheckBox* m_restorePlayList;
};
