#pragma once

#include "settings/ui/CLSCustomizePage.h"

#include <QCoreApplication>

#include <string>

class QCheckBox;
class QLineEdit;

// "MIDI": velocity scaling, system-exclusive messages, how early lyrics are traced, and the
// embedded synthesizer's SoundFont.
class CLSCustomizeMidiPage : public CLSCustomizePage {
    Q_DECLARE_TR_FUNCTIONS(CLSCustomizeMidiPage)

public:
    CLSCustomizeMidiPage(CLSCustomizePages& pages, Changed changed, QWidget* parent = nullptr);

    std::optional<std::string> Apply() override;
    CLSNumberEdit* NumberField() const override { return m_wordTraceAheadTime; }

private:
    void ShowSoundFont();

    QCheckBox* m_adjustVelocity;
    QCheckBox* m_noSendExclusive;
    CLSNumberEdit* m_wordTraceAheadTime;
    QLineEdit* m_soundFontField;
    std::string m_soundFont; // empty: automatic
};
