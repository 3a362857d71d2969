#pragma once

#include "app/WindowViews.h"
#include "controls/CLSWndSpectrum.h"
#include "playlist/ui/CLSPlayListModel.h"

#include <memory>

class CLSPlayListWidget;
class CLSWndMarquee;
class CLSWndSeparator;
class CLSWndTimeLabel;
class CLSWndTrackBar;
class CLSWordControl;
class QLabel;
class QToolBar;
class ToolTipGate;

// The main window's child controls and the flow's views over them. Widgets belong to the
// client area (Qt deletes them with it); the spectrum and the views are owned here.
struct WindowChildren {
    explicit WindowChildren(const CLSPlayList& playlist) : playListModel(playlist) {}

    QToolBar* toolBar = nullptr;
    ToolTipGate* toolBarTips = nullptr;
    CLSWordControl* words = nullptr;
    CLSWndTimeLabel* timeLabel = nullptr;
    QLabel* tempoLabel = nullptr;
    QLabel* volumeLabel = nullptr;
    QLabel* keyLabel = nullptr;
    CLSWndTrackBar* seekBar = nullptr;
    CLSWndSpectrum spectrum;
    CLSWndMarquee* marquee = nullptr;
    CLSWndSeparator* splitter = nullptr;
    CLSPlayListModel playListModel;
    CLSPlayListWidget* playList = nullptr;
    CLSWndTrackBar* tempoSlider = nullptr;
    CLSWndTrackBar* volumeSlider = nullptr;
    CLSWndTrackBar* keySlider = nullptr;

    std::unique_ptr<TrackBarSeekView> seekView, tempoView, volumeView, keyView;
    std::unique_ptr<TimeLabelWidgetView> timeView;
    std::unique_ptr<StaticTextView> tempoText, volumeText, keyText;
    std::unique_ptr<WordControlView> lyricsView;
    std::unique_ptr<SpectrumControlView> spectrumView;
    std::unique_ptr<MarqueeControlView> marqueeView;
};
