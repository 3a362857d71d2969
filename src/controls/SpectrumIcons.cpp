#include "controls/SpectrumIcons.h"

#include "controls/SpectrumGeometry.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

void DrawNote(QPainter& painter) {
    const QColor grey(200, 200, 200);
    painter.setPen(Qt::NoPen);
    painter.setBrush(grey);
    painter.drawEllipse(QRectF(0.8, 5.4, 4.2, 3.0)); // head
    painter.setPen(QPen(grey, 1.0, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(4.5, 7.0), QPointF(4.5, 0.8)); // stem
    QPainterPath flag(QPointF(4.5, 0.8));
    flag.cubicTo(QPointF(5.5, 2.2), QPointF(8.2, 2.6), QPointF(7.2, 5.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(flag);
}

void CrossOut(QPainter& painter) {
    painter.setPen(QPen(QColor(255, 0, 0), 1.3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(1.0, 1.0), QPointF(8.0, 8.0));
    painter.drawLine(QPointF(8.0, 1.0), QPointF(1.0, 8.0));
}

// At ratio 1 the vectors blur into grey: the icons are set pixel by pixel instead.
constexpr const char* kNotePixels[] = {
    ".....#...", ".....##..", ".....#.#.", ".....#..#", ".....#..#",
    "..####...", ".#####...", ".#####...", "..###....",
};

QImage PixelIcon(bool muted) {
    QImage icon(SpectrumGeometry::kIconSize, SpectrumGeometry::kIconSize, QImage::Format_RGB32);
    if (icon.isNull())
        return icon;
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            QRgb color = kNotePixels[y][x] == '#' ? qRgb(200, 200, 200) : qRgb(0, 0, 0);
            if (muted && (x == y || x == icon.width() - 1 - y))
                color = qRgb(255, 0, 0);
            icon.setPixel(x, y, color);
        }
    }
    return icon;
}

} // namespace

QImage SpectrumMuteIcon(bool muted, qreal ratio) {
    if (ratio == 1.0)
        return PixelIcon(muted);
    const int side = static_cast<int>(std::lround(SpectrumGeometry::kIconSize * ratio));
    QImage icon(side, side, QImage::Format_RGB32);
    if (icon.isNull())
        return icon;
    icon.setDevicePixelRatio(ratio);
    icon.fill(Qt::black);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawNote(painter);
    if (muted)
        CrossOut(painter);
    return icon;
}
