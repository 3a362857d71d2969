#include "controls/TrackBarGeometry.h"

#include <algorithm>
#include <cstdint>

namespace TrackBarGeometry {

namespace {

int Track(int width, int thumbLength) {
    return width - thumbLength - 2 * kMargin;
}

// Positions are milliseconds on the seek bar: an hour-long song times a wide track no longer
// fits 32 bits, so the products are taken in 64.
int ScaleDiv(std::int64_t a, std::int64_t b, std::int64_t divisor) {
    return static_cast<int>(a * b / divisor);
}

struct Hsv {
    int h, s, v;
};

Hsv ToHsv(Rgb c) {
    const int v = std::max({c.r, c.g, c.b});
    const int lowest = std::min({c.r, c.g, c.b});
    const int s = v == 0 ? 0 : (v - lowest) * 255 / v;
    if (s == 0)
        return {0, 0, v};
    const int d = v - lowest;
    int m;
    if (c.r == v)
        m = (v - c.b) * 360 / d - (v - c.g) * 360 / d;
    else if (c.g == v)
        m = (v - c.r) * 360 / d - (v - c.b) * 360 / d + 720;
    else
        m = (v - c.g) * 360 / d - (v - c.r) * 360 / d + 1440;
    int h = m / 6;
    if (h < 0)
        h += 360;
    return {h, s, v};
}

Rgb ToRgb(Hsv c) {
    const int v = c.v;
    const int s = c.s;
    if (s == 0)
        return {v, v, v};
    const int h = c.h % 360;
    const int f = h % 60;
    const int p = v * (255 - s) / 255;
    const int q = v * (255 - f * s / 60) / 255;
    const int u = v * (255 - s * (60 - f) / 60) / 255;
    switch (h / 60) {
    case 0:
        return {v, u, p};
    case 1:
        return {q, v, p};
    case 2:
        return {p, v, u};
    case 3:
        return {p, q, v};
    case 4:
        return {u, p, v};
    default:
        return {v, p, q};
    }
}

} // namespace

int ThumbX(int position, int minimum, int maximum, int width, int thumbLength) {
    return ScaleDiv(position - static_cast<std::int64_t>(minimum), Track(width, thumbLength),
                    static_cast<std::int64_t>(maximum) - minimum) +
           kMargin;
}

Rect ThumbRect(int thumbX, int thumbLength, int height) {
    return {thumbX, kMargin, thumbX + thumbLength, height - kMargin};
}

bool OnThumb(const Rect& thumb, int x, int y) {
    return x >= thumb.left && x <= thumb.right && y >= thumb.top && y <= thumb.bottom;
}

std::optional<int> ValueAt(int x, int minimum, int maximum, int width, int thumbLength) {
    const int track = Track(width, thumbLength);
    if (track <= 0)
        return std::nullopt;
    const std::int64_t range = static_cast<std::int64_t>(maximum) - minimum;
    const std::int64_t step = track / range;
    const std::int64_t offset = x - (thumbLength / 2 + kMargin) + step / 2;
    const std::int64_t value = minimum + offset * range / track;
    return static_cast<int>(std::clamp<std::int64_t>(value, minimum, maximum));
}

Rgb ScaleBrightness(Rgb color, int percent) {
    Hsv hsv = ToHsv(color);
    int v = hsv.v * percent / 100;
    if (v >= 256) {
        hsv.s = std::max(0, hsv.s - (v - 255) / 4);
        v = 255;
    }
    hsv.v = v;
    return ToRgb(hsv);
}

} // namespace TrackBarGeometry
