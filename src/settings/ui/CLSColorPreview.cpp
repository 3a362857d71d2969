#include "settings/ui/CLSColorPreview.h"

#include "controls/SpectrumGradient.h"

#include <QPainter>

namespace {

// The record keeps colours as 0x00BBGGRR.
QRgb ToRgb(std::uint32_t color) {
    return qRgb(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

} // namespace

CLSColorPreview::CLSColorPreview(const std::array<std::uint32_t, 5>& colors, QSize gradient,
                                 QWidget* parent)
    : QWidget(parent), m_colors(colors), m_gradient(gradient) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize CLSColorPreview::sizeHint() const {
    return m_gradient + QSize(2 * kFrame, 2 * kFrame);
}

QImage CLSColorPreview::Render(qreal ratio) const {
    const QSize size = sizeHint();
    QImage image(size * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);
    SpectrumColors colors{};
    for (std::size_t i = 0; i < colors.size(); ++i)
        colors[i] = ToRgb(m_colors[i]);
    const QImage gradient =
        CreateGradientBitmap(m_gradient.width(), m_gradient.height(), colors, ratio);
    if (!gradient.isNull()) {
        QPainter painter(&image);
        painter.drawImage(QPoint(kFrame, kFrame), gradient);
    }
    return image;
}

void CLSColorPreview::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), Render(devicePixelRatioF()));
}
