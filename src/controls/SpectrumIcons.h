#pragma once

#include <QImage>

// The 9 x 9 mute button icons, drawn as vectors at the given device pixel ratio: a light grey
// note on black for a row that sounds, the same note crossed out in red for a muted row.
QImage SpectrumMuteIcon(bool muted, qreal ratio);
