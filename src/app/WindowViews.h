#pragma once

#include "player/PlaybackViews.h"

class CLSMIDIData;
class CLSWndMarquee;
class CLSWndSpectrum;
class CLSWndTimeLabel;
class CLSWndTrackBar;
class CLSWordControl;
class QLabel;

// The playback flow's displays over the window's widgets.

class TrackBarSeekView : public SeekBarView, public SliderView {
public:
    explicit TrackBarSeekView(CLSWndTrackBar& bar) : m_bar(bar) {}
    void SetRange(int minimum, int maximum) override;
    void SetPos(int position) override;
    int GetPos() const override;
    int GetValue() const override { return GetPos(); }
    void SetValue(int value) override { SetPos(value); }

private:
    CLSWndTrackBar& m_bar;
};

class TimeLabelWidgetView : public TimeLabelView {
public:
    explicit TimeLabelWidgetView(CLSWndTimeLabel& label) : m_label(label) {}
    void SetSeconds(unsigned seconds) override;

private:
    CLSWndTimeLabel& m_label;
};

class StaticTextView : public TextLabelView {
public:
    explicit StaticTextView(QLabel& label) : m_label(label) {}
    void SetText(const std::string& text) override;

private:
    QLabel& m_label;
};

class WordControlView : public LyricsView {
public:
    explicit WordControlView(CLSWordControl& words) : m_words(words) {}
    void SetTimedWipe(bool on) override;
    void Start() override;
    void Stop() override;

private:
    CLSWordControl& m_words;
};

class SpectrumControlView : public SpectrumView {
public:
    SpectrumControlView(CLSWndSpectrum& spectrum, const CLSMIDIData& engine)
        : m_spectrum(spectrum), m_engine(engine) {}
    void SetRows(const MIDITRACKINFOARRAY& rows) override;
    void Start() override;
    bool Stop(bool atOnce) override;
    void SetFallen(std::function<void()> fallen) override;
    void SetMeterWidth(int width) override;
    void SetColors(const std::array<std::uint32_t, 5>& colors) override;
    void SetDigital(bool digital) override;

private:
    CLSWndSpectrum& m_spectrum;
    const CLSMIDIData& m_engine;
};

class MarqueeControlView : public MarqueeView {
public:
    explicit MarqueeControlView(CLSWndMarquee& marquee) : m_marquee(marquee) {}
    void SetTexts(const std::vector<std::string>& lines) override;

private:
    CLSWndMarquee& m_marquee;
};
