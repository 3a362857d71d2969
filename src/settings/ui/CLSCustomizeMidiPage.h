#pragma once

#include "settings/ui/CLSCustomizePage.h"

class QCheckBox;

// "MIDI": velocity scaling, system-exclusive messages, how early lyrics are traced.
class CLSCustomizeMidiPage : public CLSCustomizePage {
public:
    CLSCustomizeMidiPage(CLSCustomizePages& pages, Changed changed, QWidget* parent = nullptr);

    std::optional<std::string> Apply() override;
    CLSNumberEdit* NumberField() const override { return m_wordTraceAheadTime; }

private:
    QCheckBox* m_adjustVelocity;
    QCheckBox* m_noSendExclusive;
    CLSNumberEdit* m_wordTraceAheadTime;
};
