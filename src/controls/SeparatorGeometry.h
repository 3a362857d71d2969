#pragma once

// The splitter bar's placement, free of any window. A vertical bar moves left and right; a
// horizontal one up and down.
namespace SeparatorGeometry {

struct Rect {
    int x, y, width, height;
    bool operator==(const Rect&) const = default;
};

// The maximum wins when the limits cross, so the bar never leaves the far edge.
int ClampCentre(int centre, int minimum, int maximum);

// The bar's rectangle in parent coordinates with its centre line at 'centre'.
Rect BarRect(bool horizontal, int centre, int thickness, int extentStart, int extentEnd);

// The centre line of a bar whose leading edge (left or top) is at 'edge'.
inline int CentreOf(int edge, int thickness) {
    return edge + thickness / 2;
}

} // namespace SeparatorGeometry
