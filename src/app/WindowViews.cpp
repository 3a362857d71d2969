#include "app/WindowViews.h"

#include "controls/CLSWndMarquee.h"
#include "controls/CLSWndSpectrum.h"
#include "controls/CLSWndTimeLabel.h"
#include "controls/CLSWndTrackBar.h"
#include "controls/CLSWordControl.h"
#include "midi/CLSMIDIData.h"
#include "player/DisplayLag.h"

#include <QLabel>

void TrackBarSeekView::SetRange(int minimum, int maximum) {
    m_bar.SetRange(minimum, maximum);
}

void TrackBarSeekView::SetPos(int position) {
    m_bar.SetPos(position);
}

int TrackBarSeekView::GetPos() const {
    return m_bar.GetPos();
}

void TimeLabelWidgetView::SetSeconds(unsigned seconds) {
    m_label.SetSeconds(seconds);
}

void StaticTextView::SetText(const std::string& text) {
    m_label.setText(QString::fromStdString(text));
}

void WordControlView::SetTimedWipe(bool on) {
    m_words.SetTimedWipe(on);
}

void WordControlView::Start() {
    m_words.Start();
}

void WordControlView::Stop() {
    m_words.Stop();
}

void SpectrumControlView::SetRows(const MIDITRACKINFOARRAY& rows) {
    // The spectrum moves the rows' atomics and the mute flags the user toggles; the engine owns
    // them.
    m_spectrum.SetRows(const_cast<MIDITRACKINFOARRAY*>(&rows));
}

void SpectrumControlView::Start() {
    // The engine has opened its output by now: the meters rise when the notes are heard.
    m_spectrum.SetSoundDelay(DisplayDelay(m_engine.GetOutputLatency()));
    m_spectrum.Start();
}

bool SpectrumControlView::Stop(bool atOnce) {
    if (atOnce) {
        m_spectrum.Stop(true);
        return false;
    }
    return m_spectrum.Fall();
}

void SpectrumControlView::SetFallen(std::function<void()> fallen) {
    m_spectrum.SetOnFallen(std::move(fallen));
}

void SpectrumControlView::SetMeterWidth(int width) {
    m_spectrum.SetMeterWidth(width);
}

void SpectrumControlView::SetColors(const std::array<std::uint32_t, 5>& colors) {
    // The settings keep colours as 0x00BBGGRR.
    SpectrumColors rgb{};
    for (std::size_t i = 0; i < colors.size(); ++i) {
        const std::uint32_t c = colors[i];
        rgb[i] = qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                      static_cast<int>((c >> 16) & 0xFF));
    }
    m_spectrum.SetColors(rgb);
}

void SpectrumControlView::SetDigital(bool digital) {
    m_spectrum.SetDigital(digital);
}

void MarqueeControlView::SetTexts(const std::vector<std::string>& lines) {
    CLSTStringArray texts;
    for (const std::string& line : lines)
        texts.push_back(CLSTString(line.c_str()));
    m_marquee.SetTexts(texts);
}
