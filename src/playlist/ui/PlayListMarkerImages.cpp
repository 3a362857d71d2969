#include "playlist/ui/PlayListMarkerImages.h"

#include <QPainter>
#include <QPolygonF>

const QColor PlayListMarkerImages::kPlainInk(0x80, 0x80, 0x80);
const QColor PlayListMarkerImages::kCurrentInk(0xFF, 0xC8, 0x30);

namespace {

void DrawPlain(QPainter& p) {
    p.setBrush(PlayListMarkerImages::kPlainInk);
    p.drawEllipse(QPointF(7.5, 7.5), 1.5, 1.5);
}

// A play sign with a dark rim, so it stands out on a selected (blue) row as well.
void DrawCurrent(QPainter& p) {
    const QPolygonF sign({QPointF(3.5, 2.5), QPointF(12.5, 7.5), QPointF(3.5, 12.5)});
    p.setPen(QPen(QColor(0x20, 0x20, 0x20), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(PlayListMarkerImages::kCurrentInk);
    p.drawPolygon(sign);
}

} // namespace

QPixmap PlayListMarkerImages::Draw(int image, qreal devicePixelRatio) {
    const int side = qRound(kSize * devicePixelRatio);
    QPixmap pixmap(side, side);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    if (image == kCurrent)
        DrawCurrent(p);
    else
        DrawPlain(p);
    return pixmap;
}

QIcon PlayListMarkerImages::Icon(int image) {
    QIcon icon;
    for (qreal ratio : {1.0, 2.0}) {
        const QPixmap pixmap = Draw(image, ratio);
        // The same look selected or not: the row's highlight is the selection.
        icon.addPixmap(pixmap, QIcon::Normal);
        icon.addPixmap(pixmap, QIcon::Selected);
    }
    return icon;
}
