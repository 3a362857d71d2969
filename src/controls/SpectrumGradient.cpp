#include "controls/SpectrumGradient.h"

#include "controls/SpectrumGeometry.h"

#include <algorithm>
#include <cmath>

SpectrumColors DefaultSpectrumColors() {
    return {qRgb(255, 0, 0), qRgb(255, 255, 0), qRgb(0, 255, 0), qRgb(0, 255, 255),
            qRgb(0, 0, 255)};
}

QRgb SpectrumGradientRow(int t, int height, const SpectrumColors& colors) {
    using SpectrumGeometry::BandStart;
    int band = 1;
    while (band < 4 && t >= BandStart(band + 1, height))
        ++band;
    const int start = BandStart(band, height);
    const int end = BandStart(band + 1, height);
    const QRgb from = colors[static_cast<std::size_t>(band - 1)];
    const QRgb to = colors[static_cast<std::size_t>(band)];
    const auto channel = [&](int (*part)(QRgb)) {
        return SpectrumGeometry::BandChannel(t, start, end, part(from), part(to));
    };
    return qRgb(channel(qRed), channel(qGreen), channel(qBlue));
}

QImage CreateGradientBitmap(int width, int height, const SpectrumColors& colors, qreal ratio) {
    const int deviceWidth = static_cast<int>(std::lround(width * ratio));
    const int deviceHeight = static_cast<int>(std::lround(height * ratio));
    if (deviceWidth <= 0 || deviceHeight <= 0)
        return {};
    QImage image(deviceWidth, deviceHeight, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.setDevicePixelRatio(ratio);
    for (int t = 0; t < deviceHeight; ++t) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(t));
        std::fill(line, line + deviceWidth, SpectrumGradientRow(t, deviceHeight, colors));
    }
    return image;
}
