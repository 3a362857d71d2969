#include "controls/CLSGraphicsBuffer.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

namespace {

// Device pixels for a logical length: rounded up so the picture always covers the widget.
int DevicePixels(int logical, qreal ratio) {
    return static_cast<int>(std::ceil(logical * ratio - 1e-9));
}

} // namespace

bool CLSGraphicsBuffer::Create(int width, int height, qreal devicePixelRatio) {
    Destroy();
    m_ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    m_created = true;
    return Resize(width, height);
}

bool CLSGraphicsBuffer::Resize(int width, int height) {
    if (!m_created)
        return false;
    width = std::max(width, 1);
    height = std::max(height, 1);
    QImage image(DevicePixels(width, m_ratio), DevicePixels(height, m_ratio),
                 QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        Destroy();
        return false;
    }
    image.setDevicePixelRatio(m_ratio);
    // Never show stale memory when the owner copies before drawing.
    image.fill(m_bkColor);
    m_image = std::move(image);
    m_width = width;
    m_height = height;
    return true;
}

void CLSGraphicsBuffer::Destroy() {
    m_image = QImage();
    m_width = 0;
    m_height = 0;
    m_created = false;
}

void CLSGraphicsBuffer::Fill(QColor color) {
    if (!m_image.isNull())
        m_image.fill(color);
}

void CLSGraphicsBuffer::FillRect(const QRect& rect, QColor color) {
    if (m_image.isNull() || rect.isEmpty())
        return;
    QPainter painter(&m_image);
    painter.fillRect(rect, color);
}

QSize CLSGraphicsBuffer::TextExtent(const QString& text) const {
    const QFontMetrics metrics(m_font);
    return {metrics.horizontalAdvance(text), metrics.height()};
}

void CLSGraphicsBuffer::TextOut(int x, int y, const QString& text) {
    if (m_image.isNull())
        return;
    QPainter painter(&m_image);
    painter.setFont(m_font);
    const QFontMetrics metrics(m_font);
    if (m_bkMode == BkMode::Opaque)
        painter.fillRect(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()), m_bkColor);
    painter.setPen(m_textColor);
    painter.drawText(QPoint(x, y + metrics.ascent()), text);
}

void CLSGraphicsBuffer::BitBlt(QPainter& dst, QPoint at) const {
    if (!m_image.isNull())
        dst.drawImage(at, m_image);
}

void CLSGraphicsBuffer::BitBlt(QPainter& dst, QPoint at, QPainter::CompositionMode mode) const {
    const QPainter::CompositionMode previous = dst.compositionMode();
    dst.setCompositionMode(mode);
    BitBlt(dst, at);
    dst.setCompositionMode(previous);
}
