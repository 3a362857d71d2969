#include "player/CLSMainLayout.h"

#include "core/UiText.h"
#include "settings/CLSDRUVSettings.h"

#include <algorithm>

namespace {

constexpr int kModeLyricsOnly = 4;
constexpr int kSeekBarGap = 23;  // seek bar's top above the spectrum band
constexpr int kPlaylistGap = 16; // playlist's bottom above the seek bar
constexpr int kMarqueeHeight = 12;
constexpr int kMarqueeRaise = 14; // information text's top above the seek bar
constexpr int kSliderHeight = 17;
constexpr int kLabelHeight = 12;
constexpr int kSliderInset = 4;

} // namespace

const std::array<WindowModeInfo, CLSMainLayout::kModeCount>& CLSMainLayout::Modes() {
    static const std::array<WindowModeInfo, kModeCount> modes = {{
        {82, DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "通常ウィンドウ(&N)"), true, true, true, 0},
        {83, DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "コンパクト表示(&C)"), false, false, true,
         23},
        {84, DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "歌詞表示なし(&O)"), false, true, true, 159},
        {85, DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "スペクトラム表示なし(&P)"), true, false,
         true, 0},
        {86, DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "歌詞のみ表示(&W)"), false, false, false, 0},
    }};
    return modes;
}

CLSMainLayout::CLSMainLayout(int toolBarHeight, int mode)
    : m_toolBarHeight(toolBarHeight), m_mode(mode >= 0 && mode < kModeCount ? mode : 0) {}

int CLSMainLayout::ClampCentre(int centre, int minimum, int maximum) {
    // A window too narrow for both margins keeps the splitter at the left one.
    return std::max(minimum, std::min(centre, maximum));
}

CLSMainLayout::Geometry CLSMainLayout::Layout(int a, int b, int splitterCentre) const {
    Geometry g;
    const int e = kSplitterThickness;
    g.splitterMin = e + kSplitterMargin;
    g.splitterMax = a - e - kSplitterMargin;
    g.splitterCentre = ClampCentre(splitterCentre, g.splitterMin, g.splitterMax);
    if (m_mode == kModeLyricsOnly) {
        g.rects[kChildLyrics] = {0, 0, a, b};
        return g;
    }
    const int h = m_toolBarHeight;
    const int d = (m_mode == 1 || m_mode == 3) ? 0 : kSpectrumBand;
    const int y0 = b - d;
    const int s = y0 - kSeekBarGap;
    const int f = (m_mode == 1 || m_mode == 2) ? 0 : s - kPlaylistGap;
    // The clamped centre: the lyrics and playlist always meet the splitter where it is drawn.
    const int x = g.splitterCentre + e / 2;
    const int l = s - h;

    g.rects[kChildSplitter] = {g.splitterCentre - e / 2, 0, e, f};
    g.rects[kChildTimeLabel] = {0, l, 4 * h - 8, h};
    g.rects[kChildToolBar] = {4 * h - 8, l, kToolBarWidth, h};
    g.rects[kChildMarquee] = {4 * h + 169, s - kMarqueeRaise, a - 4 * h - 169, kMarqueeHeight};
    g.rects[kChildLyrics] = {0, 0, x - e, l};
    g.rects[kChildSeekBar] = {0, s, a, kSeekBarHeight};
    g.rects[kChildSpectrum] = {0, y0, x, d};
    g.rects[kChildPlayList] = {x, 0, a - x, f};
    const int sliders[3][2] = {{kChildTempoSlider, kChildTempoLabel},
                               {kChildVolumeSlider, kChildVolumeLabel},
                               {kChildKeySlider, kChildKeyLabel}};
    for (int i = 0; i < 3; ++i) {
        const int yi = y0 + i * (d / 3);
        const int width = a - x - 2 * kSliderInset;
        g.rects[sliders[i][0]] = {x + kSliderInset, yi + 12, width, kSliderHeight};
        g.rects[sliders[i][1]] = {x + kSliderInset, yi + 29, width, kLabelHeight};
    }
    return g;
}

bool CLSMainLayout::IsShown(int childId) const {
    const WindowModeInfo& mode = Modes()[static_cast<std::size_t>(m_mode)];
    switch (childId) {
    case kChildLyrics:
        return mode.lyricsAndPlaylist || m_mode == kModeLyricsOnly;
    case kChildPlayList:
    case kChildSplitter:
        return mode.lyricsAndPlaylist;
    case kChildSpectrum:
    case kChildTempoSlider:
    case kChildTempoLabel:
    case kChildVolumeSlider:
    case kChildVolumeLabel:
    case kChildKeySlider:
    case kChildKeyLabel:
        return mode.spectrumAndSliders;
    case kChildSeekBar:
    case kChildTimeLabel:
    case kChildToolBar:
    case kChildMarquee:
        return mode.transport;
    default:
        return false;
    }
}

int CLSMainLayout::SplitterCentreFor(int clientWidth, int playListWidth) {
    return clientWidth - playListWidth - kSplitterThickness / 2;
}

int CLSMainLayout::KeepPlaylistWidth(int splitterCentre, int oldWidth, int clientWidth,
                                     int newWidth) {
    if (clientWidth == 0 || newWidth == oldWidth)
        return splitterCentre;
    const int e = kSplitterThickness;
    const int maximum = newWidth + clientWidth - oldWidth - e - kSplitterMargin;
    return ClampCentre(splitterCentre + newWidth - oldWidth, e + kSplitterMargin, maximum);
}

std::optional<int> CLSMainLayout::FixedClientHeight() const {
    const int extra = Modes()[static_cast<std::size_t>(m_mode)].fixedClientExtra;
    if (extra == 0)
        return std::nullopt;
    return m_toolBarHeight + extra;
}

CLSMainLayout::SizeLimits CLSMainLayout::LimitSize(int frameHeight) const {
    SizeLimits limits{kMinWidth, kMinHeight, std::nullopt};
    if (const std::optional<int> client = FixedClientHeight()) {
        limits.minHeight = *client + frameHeight;
        limits.maxHeight = *client + frameHeight;
    }
    return limits;
}

std::optional<CLSMainLayout::ModeChange>
CLSMainLayout::SetWindowMode(int menuId, const WindowPlacement& current,
                             CLSDRUVSettings& settings) {
    const int mode = menuId - kFirstModeId;
    if (mode < 0 || mode >= kModeCount)
        return std::nullopt;
    SavePlacement(m_mode, current, settings);
    m_mode = mode;
    settings.WindowMode = mode;
    ModeChange change;
    change.fixedClientHeight = FixedClientHeight();
    change.restoreToSettings = !change.fixedClientHeight;
    change.maximiseBox = !change.fixedClientHeight;
    return change;
}

void CLSMainLayout::SavePlacement(int mode, const WindowPlacement& current,
                                  CLSDRUVSettings& settings) {
    settings.Left = current.left;
    settings.Top = current.top;
    settings.Width = current.width;
    if (mode == 1 || mode == 2)
        return;
    settings.Height = current.height;
    settings.SetFlag(CLSDRUVSettings::Show, current.maximised);
    settings.PlayListWidth = current.playListWidth;
    settings.PlayListFileNameWidth = current.fileNameWidth;
    settings.PlayListLengthWidth = current.lengthWidth;
}
