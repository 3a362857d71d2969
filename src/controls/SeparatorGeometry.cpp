#include "controls/SeparatorGeometry.h"

namespace SeparatorGeometry {

int ClampCentre(int centre, int minimum, int maximum) {
    if (centre < minimum)
        centre = minimum;
    if (centre > maximum)
        centre = maximum;
    return centre;
}

Rect BarRect(bool horizontal, int centre, int thickness, int extentStart, int extentEnd) {
    const int edge = centre - thickness / 2;
    const int length = extentEnd - extentStart;
    if (horizontal)
        return {extentStart, edge, length, thickness};
    return {edge, extentStart, thickness, length};
}

} // namespace SeparatorGeometry
