#pragma once

#include "settings/ui/CLSCustomizePage.h"

#include <QCoreApplication>

#include <QColor>

class CLSColorPreview;
class QCheckBox;
class QComboBox;

// "スペクトラム": meter width, digital look, how rows are grouped, and the five gradient colours
// with a preview. A chosen colour goes into the record at once, before the sheet applies.
class CLSCustomizeSpectrumPage : public CLSCustomizePage {
    Q_DECLARE_TR_FUNCTIONS(CLSCustomizeSpectrumPage)

public:
    // Asks the user for a colour starting from `initial`; none when cancelled.
    using ColorChooser = std::function<std::optional<QColor>(QWidget* owner, QColor initial)>;

    CLSCustomizeSpectrumPage(CLSCustomizePages& pages, Changed changed, ColorChooser chooser,
                             QWidget* parent = nullptr);

    std::optional<std::string> Apply() override;
    CLSNumberEdit* NumberField() const override { return m_meterWidth; }

    // Colour button `index` (0 top .. 4 bottom), as if clicked.
    void ChooseColor(int index);
    const CLSColorPreview& Preview() const { return *m_preview; }

private:
    QWidget* CreateColorGroup();

    ColorChooser m_chooser;
    CLSNumberEdit* m_meterWidth;
    QCheckBox* m_digital;
    QComboBox* m_spectrumType;
    CLSColorPreview* m_preview = nullptr;
};
