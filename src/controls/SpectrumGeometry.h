#pragma once

// The spectrum's arithmetic, in logical pixels: columns, meter rows and segments, the mute
// button, scrolling and the meters' movement. No painting here.
namespace SpectrumGeometry {

constexpr int kColumnExtra = 19;   // outline, button strip and gaps around one meter
constexpr int kMeterLeft = 16;     // bar area, from the column's left edge
constexpr int kMeterTop = 4;       // first row of the bar area
constexpr int kGradientMargin = 8; // client height less the gradient's height
constexpr int kButtonLeft = 2;     // mute button, right and bottom exclusive
constexpr int kButtonTop = 4;
constexpr int kButtonRight = 14;
constexpr int kButtonBottom = 16;
constexpr int kIconSize = 9;
constexpr int kLabelX = 14; // labels read downwards from here
constexpr int kLabelY = 18;
constexpr int kMaxLevel = 127;
constexpr int kClimb = 8;      // per tick, rising
constexpr int kDecay = 2;      // per tick, once the row is silent
constexpr int kFall = 2;       // per tick, shown level following a lower target
constexpr int kFallOnStop = 4; // per tick, after a normal stop
constexpr int kTickMs = 10;

constexpr int Pitch(int meterWidth) {
    return meterWidth + kColumnExtra;
}

// Left edge of row `row` (0-based) with scroll position `scroll` (1-based).
constexpr int ColumnLeft(int row, int scroll, int pitch) {
    return (row - scroll + 1) * pitch;
}

// Height of the gradient for a client height: negative or 0 when there is no room for one.
constexpr int GradientHeight(int clientHeight) {
    return clientHeight - kGradientMargin;
}

// First row of gradient band `band` (1..4; band 5 gives the end of band 4).
constexpr int BandStart(int band, int gradientHeight) {
    return gradientHeight * (band - 1) / 4;
}

// One colour channel of gradient row `t`: linear from `from` at the band's start to `to` at
// its end.
int BandChannel(int t, int start, int end, int from, int to);

// Continuous meter: the dark part from kMeterTop to litTop, then `lit` rows copied from the
// gradient starting at sourceRow.
struct ContinuousMeter {
    int litTop;
    int lit;
    int sourceRow;
};
ContinuousMeter Continuous(int level, int gradientHeight);

// Digital meter: `count` segments of 2 rows at a pitch of 3, the lowest `lit` of them lit.
struct DigitalMeter {
    int count;
    int lit;
};
DigitalMeter Digital(int level, int gradientHeight);
constexpr int kSegmentHeight = 2;
// Segment i, 0 the lowest: its top row and the gradient row it copies.
constexpr int SegmentTop(int i, int gradientHeight) {
    return gradientHeight + 2 - 3 * i;
}
constexpr int SegmentSourceRow(int i, int gradientHeight) {
    return gradientHeight - 2 - 3 * i;
}

// The row whose mute button holds the point, or -1.
int HitMuteButton(int x, int y, int pitch, int scroll, int rowCount);

// Columns that fit in the client width (at least 1, so a narrow window still scrolls).
int Page(int clientWidth, int pitch);
// Scroll position kept within first .. last - page + 1 (never below first).
int ClampScroll(int position, int first, int last, int page);

// The shown level one tick on, moving towards `target`.
int StepShown(int shown, int target, int fall);
// The engine's level one tick on: a silent row decays.
int DecayLevel(int level, int sounding);

} // namespace SpectrumGeometry
