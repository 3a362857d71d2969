#include "app/ToolbarImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

const QColor kNormalInk(0xC8, 0xC8, 0xC8);
const QColor kHotInk(0xFF, 0xFF, 0x80);
const QColor kHotGlow(0xFF, 0xC0, 0x40, 0x60);

QPolygonF Triangle(qreal left, qreal right, bool pointsRight) {
    const qreal tip = pointsRight ? right : left;
    const qreal base = pointsRight ? left : right;
    return QPolygonF({QPointF(base, 4), QPointF(tip, 10), QPointF(base, 16)});
}

void DrawPrevious(QPainter& p) {
    p.drawRect(QRectF(6, 4, 2, 12));
    p.drawPolygon(Triangle(8.5, 15, false));
    p.drawPolygon(Triangle(15, 21.5, false));
}

void DrawNext(QPainter& p) {
    p.drawPolygon(Triangle(6.5, 13, true));
    p.drawPolygon(Triangle(13, 19.5, true));
    p.drawRect(QRectF(20, 4, 2, 12));
}

void DrawStop(QPainter& p) {
    p.drawRect(QRectF(9, 5, 10, 10));
}

void DrawPlayPause(QPainter& p) {
    p.drawPolygon(Triangle(5, 14, true));
    p.drawRect(QRectF(16, 4, 2.5, 12));
    p.drawRect(QRectF(20.5, 4, 2.5, 12));
}

void DrawOpen(QPainter& p, const QColor& ink) {
    // A folder: its tab, its back, and the front flap drawn open.
    QPainterPath back;
    back.moveTo(5, 16);
    back.lineTo(5, 5);
    back.lineTo(10, 5);
    back.lineTo(12, 7);
    back.lineTo(21, 7);
    back.lineTo(21, 9);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(back);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPolygon(
        QPolygonF({QPointF(5, 16), QPointF(8.5, 9.5), QPointF(24, 9.5), QPointF(20.5, 16)}));
}

} // namespace

QPixmap ToolbarImages::Draw(int image, bool hot, qreal devicePixelRatio) {
    QPixmap pixmap(qRound(kWidth * devicePixelRatio), qRound(kHeight * devicePixelRatio));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = hot ? kHotInk : kNormalInk;
    if (hot) {
        p.setPen(Qt::NoPen);
        p.setBrush(kHotGlow);
        p.drawRoundedRect(QRectF(1, 1, kWidth - 2, kHeight - 2), 4, 4);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    switch (image) {
    case kPrevious:
        DrawPrevious(p);
        break;
    case kStop:
        DrawStop(p);
        break;
    case kPlayPause:
        DrawPlayPause(p);
        break;
    case kNext:
        DrawNext(p);
        break;
    case kOpen:
        DrawOpen(p, ink);
        break;
    default:
        break;
    }
    return pixmap;
}

QIcon ToolbarImages::Icon(int image) {
    QIcon icon;
    for (qreal ratio : {1.0, 2.0}) {
        icon.addPixmap(Draw(image, false, ratio), QIcon::Normal);
        icon.addPixmap(Draw(image, true, ratio), QIcon::Active);
    }
    return icon;
}
