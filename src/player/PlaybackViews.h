#pragma once

#include "midi/MIDITRACKINFO.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// What the playback flow drives, one small interface per display. The window implements them
// over its widgets; the flow keeps views of its own for any it is not given, so a headless
// front end can use it too.

// Position in milliseconds. SetPos and GetPos are called from the position thread as well:
// implementations guard their value. A position set while the user drags the thumb is ignored.
class SeekBarView {
public:
    virtual ~SeekBarView() = default;
    virtual void SetRange(int minimum, int maximum) = 0;
    virtual void SetPos(int position) = 0;
    virtual int GetPos() const = 0;
};

// Whole seconds of the position; called from the position thread as well.
class TimeLabelView {
public:
    virtual ~TimeLabelView() = default;
    virtual void SetSeconds(unsigned seconds) = 0;
};

// The tempo, volume or key slider: the flow keeps the value in range before setting it.
class SliderView {
public:
    virtual ~SliderView() = default;
    virtual int GetValue() const = 0;
    virtual void SetValue(int value) = 0;
};

// A static text, UTF-8.
class TextLabelView {
public:
    virtual ~TextLabelView() = default;
    virtual void SetText(const std::string& text) = 0;
};

class LyricsView {
public:
    virtual ~LyricsView() = default;
    virtual void SetTimedWipe(bool on) = 0;
    virtual void Start() = 0;
    virtual void Stop() = 0;
};

class SpectrumView {
public:
    virtual ~SpectrumView() = default;
    virtual void SetRows(const MIDITRACKINFOARRAY& rows) = 0;
    virtual void Start() = 0;
    // atOnce: end the thread now. Otherwise the bars fall first, without holding up the
    // caller: true while they fall, and the fallen callback follows on the caller's thread
    // once they are down. The fall no longer reads the rows' levels; the window still shows
    // the rows' labels until it ends, so the flow loads nothing before.
    virtual bool Stop(bool atOnce) = 0;
    virtual void SetFallen(std::function<void()> /*fallen*/) {}
    virtual void SetMeterWidth(int width) = 0;
    // Top of the gradient first, 0x00BBGGRR.
    virtual void SetColors(const std::array<std::uint32_t, 5>& colors) = 0;
    virtual void SetDigital(bool digital) = 0;
};

// The scrolling information text: the lines it cycles through, UTF-8 (a song's own bytes are
// converted before they meet the UTF-8 captions, so neither is misread).
class MarqueeView {
public:
    virtual ~MarqueeView() = default;
    virtual void SetTexts(const std::vector<std::string>& lines) = 0;
};

// Every pointer may be null.
struct PlaybackViews {
    SeekBarView* seekBar = nullptr;
    TimeLabelView* timeLabel = nullptr;
    SliderView* tempoSlider = nullptr;
    SliderView* volumeSlider = nullptr;
    SliderView* keySlider = nullptr;
    TextLabelView* tempoLabel = nullptr;
    TextLabelView* volumeLabel = nullptr;
    TextLabelView* keyLabel = nullptr;
    LyricsView* lyrics = nullptr;
    SpectrumView* spectrum = nullptr;
    MarqueeView* marquee = nullptr;
};
