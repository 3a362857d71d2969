#pragma once

#include <optional>

// The slider's arithmetic, free of any window: where the thumb sits, which value lies under
// the mouse, and the thumb's shaded colours. Ranges are minimum < maximum.
namespace TrackBarGeometry {

constexpr int kMargin = 3;

struct Rect {
    int left, top, right, bottom; // right and bottom are the far edges
};

// Left edge of the thumb for a position in a slider of the given width.
int ThumbX(int position, int minimum, int maximum, int width, int thumbLength);
Rect ThumbRect(int thumbX, int thumbLength, int height);
// The thumb rectangle with its edges counted as inside.
bool OnThumb(const Rect& thumb, int x, int y);

// The nearest position to a mouse x, clamped to the range; none while the slider is too
// narrow to have a track.
std::optional<int> ValueAt(int x, int minimum, int maximum, int width, int thumbLength);

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

// Scales a colour's brightness by 'percent' in HSV; beyond white it desaturates instead.
Rgb ScaleBrightness(Rgb color, int percent);

} // namespace TrackBarGeometry
