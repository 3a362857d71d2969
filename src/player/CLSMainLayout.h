#pragma once

#include <array>
#include <map>
#include <optional>

class CLSDRUVSettings;

// The main window's child controls by id.
enum ChildId : int {
    kChildLyrics = 1024,
    kChildSeekBar = 1025,
    kChildTimeLabel = 1026,
    kChildPlayList = 1027,
    kChildSplitter = 1028,
    kChildTempoSlider = 1029,
    kChildTempoLabel = 1030,
    kChildVolumeSlider = 1031,
    kChildVolumeLabel = 1032,
    kChildKeySlider = 1033,
    kChildKeyLabel = 1034,
    kChildSpectrum = 1035,
    kChildToolBar = 1036,
    kChildMarquee = 1037,
};

struct LayoutRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const LayoutRect&) const = default;
};

// One of the five window modes (the setting WindowMode; menu ids 82 to 86).
struct WindowModeInfo {
    int menuId;
    const char* menuText;
    bool lyricsAndPlaylist; // lyrics display, playlist and splitter
    bool spectrumAndSliders;
    bool transport;       // seek bar, time label, toolbar and information text
    int fixedClientExtra; // client height = toolbar height + this; 0: the height is free
};

// Where the window was, as the placement is saved before a mode change and at exit.
struct WindowPlacement {
    int left = 0; // the restored rectangle, in screen coordinates
    int top = 0;
    int width = 0;
    int height = 0;
    bool maximised = false;
    int playListWidth = 0;
    int fileNameWidth = 0;
    int lengthWidth = 0;
};

// The main window's geometry as arithmetic: the mode table, where every child goes for a client
// size, the size limits, and the splitter keeping the playlist's width while the window is
// resized. The window applies the results to its widgets.
class CLSMainLayout {
public:
    static constexpr int kModeCount = 5;
    static constexpr int kFirstModeId = 82;
    static constexpr int kSplitterThickness = 7;
    static constexpr int kSplitterMargin = 70;
    static constexpr int kSpectrumBand = 134;
    static constexpr int kSeekBarHeight = 21;
    static constexpr int kToolBarWidth = 175;
    static constexpr int kMinWidth = 450;
    static constexpr int kMinHeight = 350;

    struct Geometry {
        std::map<int, LayoutRect> rects; // by ChildId; mode 4 places the lyrics only
        int splitterCentre = 0;          // kept inside the limits
        int splitterMin = 0;
        int splitterMax = 0;
    };

    struct SizeLimits {
        int minWidth;
        int minHeight;
        std::optional<int> maxHeight; // the fixed-height modes
    };

    // What a mode change asks of the window frame.
    struct ModeChange {
        bool restoreToSettings; // un-maximise and move to Left, Top, Width, Height
        std::optional<int> fixedClientHeight;
        bool maximiseBox;
    };

    explicit CLSMainLayout(int toolBarHeight, int mode = 0);

    static const std::array<WindowModeInfo, kModeCount>& Modes();
    int Mode() const noexcept { return m_mode; }
    int ToolBarHeight() const noexcept { return m_toolBarHeight; }

    // The children for client size a x b with the splitter centred at `splitterCentre`.
    Geometry Layout(int a, int b, int splitterCentre) const;
    bool IsShown(int childId) const;
    // The splitter centre that leaves the playlist `playListWidth` wide.
    static int SplitterCentreFor(int clientWidth, int playListWidth);
    // Before a resize from outer width `oldWidth` (client width `clientWidth`) to `newWidth`:
    // the splitter's new centre, so the playlist keeps its width.
    static int KeepPlaylistWidth(int splitterCentre, int oldWidth, int clientWidth, int newWidth);
    // `frameHeight`: the window's height minus its client height (title, menu, borders).
    SizeLimits LimitSize(int frameHeight) const;
    std::optional<int> FixedClientHeight() const;

    // Switches to the mode of menu id 82..86: saves the placement under the old mode into the
    // settings, then stores the new mode. Nothing for any other id.
    std::optional<ModeChange> SetWindowMode(int menuId, const WindowPlacement& current,
                                            CLSDRUVSettings& settings);
    // The fixed-height modes have no playlist and a height of their own: they keep Height,
    // Show and the playlist widths of the last free-height mode.
    static void SavePlacement(int mode, const WindowPlacement& current, CLSDRUVSettings& settings);

private:
    static int ClampCentre(int centre, int minimum, int maximum);

    int m_toolBarHeight;
    int m_mode;
};
