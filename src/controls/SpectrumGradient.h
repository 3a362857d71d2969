#pragma once

#include <QImage>
#include <QRgb>

#include <array>

// The spectrum's five colours, top to bottom (SpectrumTop .. SpectrumBottom).
using SpectrumColors = std::array<QRgb, 5>;

SpectrumColors DefaultSpectrumColors();

// Colour of gradient row `t` of a gradient `height` rows tall: four bands, each running from
// one colour towards the next.
QRgb SpectrumGradientRow(int t, int height, const SpectrumColors& colors);

// The meters' gradient, `width` x `height` logical pixels rendered at `ratio` (the rows are
// spread over the device pixels, so a ratio-2 gradient is as smooth as it can be). The
// Customize dialog previews the colours with it. Null when there is no room or no memory.
QImage CreateGradientBitmap(int width, int height, const SpectrumColors& colors, qreal ratio = 1.0);
