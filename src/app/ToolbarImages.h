#pragma once

#include <QIcon>
#include <QPixmap>

// The toolbar's five images (previous, stop, play/pause, next, open), 28 x 20 logical pixels,
// in a normal and a hot look. Drawn as vectors at the screen's pixel ratio, so they stay sharp
// on any desktop scale.
class ToolbarImages {
public:
    static constexpr int kWidth = 28;
    static constexpr int kHeight = 20;
    static constexpr int kCount = 5;
    enum Image { kPrevious = 0, kStop = 1, kPlayPause = 2, kNext = 3, kOpen = 4 };

    static QPixmap Draw(int image, bool hot, qreal devicePixelRatio);
    // Normal and hot (active) modes at ratios 1 and 2.
    static QIcon Icon(int image);
};
