#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>

// The playlist's two row markers, 15 x 15 logical pixels: image 0 a faint dot for every row,
// image 1 a bright play sign on the current song. Drawn as vectors at each pixel ratio, so the
// marker is as sharp on a scaled desktop as at scale 1.
class PlayListMarkerImages {
public:
    static constexpr int kSize = 15;
    enum Image { kPlain = 0, kCurrent = 1 };
    // The inks, for tests that look at the painted rows.
    static const QColor kPlainInk;
    static const QColor kCurrentInk;

    static QPixmap Draw(int image, qreal devicePixelRatio);
    // Ratios 1 and 2, so a view picks the pixmap of its screen.
    static QIcon Icon(int image);
};
