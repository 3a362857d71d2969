#include "controls/CLSWndTrackBar.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QThread>

#include <algorithm>

namespace {

QColor Brightened(QColor color, int percent) {
    const auto c =
        TrackBarGeometry::ScaleBrightness({color.red(), color.green(), color.blue()}, percent);
    return {c.r, c.g, c.b};
}

QRect ToQRect(const TrackBarGeometry::Rect& r) {
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

} // namespace

CLSWndTrackBar::CLSWndTrackBar(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::ArrowCursor);
    hide();
}

CLSWndTrackBar::~CLSWndTrackBar() = default;

void CLSWndTrackBar::Create(QWidget* parent, int controlId) {
    {
        std::lock_guard lock(m_lock);
        m_drawnThumb = -1;
    }
    m_controlId = controlId;
    setParent(parent);
    setGeometry(0, 0, 0, 0);
    m_width.store(0, std::memory_order_relaxed);
    m_created.store(true, std::memory_order_relaxed);
    show();
}

void CLSWndTrackBar::Destroy() {
    if (!m_created.exchange(false, std::memory_order_relaxed))
        return;
    m_dragging.store(false, std::memory_order_relaxed);
    hide();
    setParent(nullptr);
}

void CLSWndTrackBar::Move(int x, int y, int width, int height) {
    if (!m_created.load(std::memory_order_relaxed))
        return;
    setGeometry(x, y, width, height);
    m_width.store(width, std::memory_order_relaxed);
    update();
}

void CLSWndTrackBar::Show(bool visible) {
    if (m_created.load(std::memory_order_relaxed))
        setVisible(visible);
}

bool CLSWndTrackBar::SetRange(int minimum, int maximum) {
    if (minimum >= maximum)
        return false;
    {
        std::lock_guard lock(m_lock);
        m_minimum = minimum;
        m_maximum = maximum;
    }
    RequestRepaint();
    return true;
}

int CLSWndTrackBar::Minimum() const {
    std::lock_guard lock(m_lock);
    return m_minimum;
}

int CLSWndTrackBar::Maximum() const {
    std::lock_guard lock(m_lock);
    return m_maximum;
}

bool CLSWndTrackBar::SetPos(int value) {
    if (m_dragging.load(std::memory_order_relaxed))
        return false;
    {
        std::lock_guard lock(m_lock);
        SetPosLocked(value);
    }
    InvalidateIfThumbMoved();
    return true;
}

void CLSWndTrackBar::SetThumbLength(int pixels) {
    {
        std::lock_guard lock(m_lock);
        m_thumbLength = pixels;
    }
    update();
}

void CLSWndTrackBar::SetFill(bool fill) {
    m_fill = fill;
    update();
}

int CLSWndTrackBar::ThumbXLocked() const {
    return TrackBarGeometry::ThumbX(m_position.load(std::memory_order_relaxed), m_minimum,
                                    m_maximum, m_width.load(std::memory_order_relaxed),
                                    m_thumbLength);
}

void CLSWndTrackBar::SetPosLocked(int value) {
    m_position.store(std::clamp(value, m_minimum, m_maximum), std::memory_order_relaxed);
}

void CLSWndTrackBar::SendNotify(int code) {
    Q_EMIT Notify(code, GetPos() & 0xFFFF, m_controlId);
}

void CLSWndTrackBar::InvalidateIfThumbMoved() {
    if (!m_created.load(std::memory_order_relaxed))
        return;
    bool moved;
    {
        std::lock_guard lock(m_lock);
        moved = ThumbXLocked() != m_drawnThumb;
    }
    if (moved)
        RequestRepaint();
}

void CLSWndTrackBar::RequestRepaint() {
    if (QThread::currentThread() == thread())
        update();
    else
        m_repaint.Post();
}

void CLSWndTrackBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_width.store(width(), std::memory_order_relaxed);
}

void CLSWndTrackBar::paintEvent(QPaintEvent*) {
    TrackBarGeometry::Rect thumb;
    {
        std::lock_guard lock(m_lock);
        m_drawnThumb = -1;
        thumb = TrackBarGeometry::ThumbRect(ThumbXLocked(), m_thumbLength, height());
    }
    QPainter painter(this);
    PaintTrack(painter, thumb);
    std::lock_guard lock(m_lock);
    m_drawnThumb = thumb.left;
}

void CLSWndTrackBar::PaintTrack(QPainter& painter, const TrackBarGeometry::Rect& thumb) const {
    const QColor dark = Brightened(m_thumbColor, 65);
    const QColor light = Brightened(m_thumbColor, 80);
    painter.fillRect(rect(), m_backgroundColor);
    if (hasFocus()) {
        // A dotted frame inverse to the background, as a focus rectangle drawn by XOR shows.
        QPen pen(QColor(255 - m_backgroundColor.red(), 255 - m_backgroundColor.green(),
                        255 - m_backgroundColor.blue()));
        pen.setStyle(Qt::DotLine);
        painter.setPen(pen);
        painter.drawRect(QRectF(rect().adjusted(1, 1, -1, -1)).adjusted(0.5, 0.5, -0.5, -0.5));
    }
    if (m_fill) {
        const int centre = (thumb.left + thumb.right) / 2;
        if (centre > 3 && height() > 10)
            painter.fillRect(QRect(3, 5, centre - 3, height() - 10), light);
    }
    const QRect body = ToQRect(thumb);
    if (body.isEmpty())
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(dark, 1));
    painter.setBrush(m_thumbColor);
    painter.drawRoundedRect(QRectF(body).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int y = thumb.top + 4; y <= thumb.bottom - 4; y += 2)
        for (int x = thumb.left + 4; x <= thumb.right - 4; x += 2)
            painter.fillRect(QRect(x, y, 1, 1), dark);
}

void CLSWndTrackBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    TrackBarGeometry::Rect before;
    {
        std::lock_guard lock(m_lock);
        const auto value =
            TrackBarGeometry::ValueAt(at.x(), m_minimum, m_maximum, width(), m_thumbLength);
        // Too narrow for a track: no value lies under the mouse.
        if (!value)
            return;
        before = TrackBarGeometry::ThumbRect(ThumbXLocked(), m_thumbLength, height());
        SetPosLocked(*value);
    }
    if (TrackBarGeometry::OnThumb(before, at.x(), at.y())) {
        // Qt keeps sending the mouse here until the button is released.
        m_dragging.store(true, std::memory_order_relaxed);
        SendNotify(kThumbTrack);
    } else {
        SendNotify(kThumbPosition);
    }
    setFocus(Qt::MouseFocusReason);
    InvalidateIfThumbMoved();
}

void CLSWndTrackBar::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging.load(std::memory_order_relaxed))
        return;
    {
        std::lock_guard lock(m_lock);
        const auto value = TrackBarGeometry::ValueAt(event->position().toPoint().x(), m_minimum,
                                                     m_maximum, width(), m_thumbLength);
        if (value)
            SetPosLocked(*value);
    }
    SendNotify(kThumbTrack);
    InvalidateIfThumbMoved();
}

void CLSWndTrackBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_dragging.load(std::memory_order_relaxed))
        return;
    m_dragging.store(false, std::memory_order_relaxed);
    SendNotify(kThumbPosition);
    InvalidateIfThumbMoved();
}

void CLSWndTrackBar::keyPressEvent(QKeyEvent* event) {
    int change;
    switch (event->key()) {
    case Qt::Key_PageUp:
        change = -m_pageStep;
        break;
    case Qt::Key_PageDown:
        change = m_pageStep;
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        change = -m_lineStep;
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        change = m_lineStep;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    {
        std::lock_guard lock(m_lock);
        SetPosLocked(static_cast<int>(std::clamp<long long>(
            static_cast<long long>(m_position.load(std::memory_order_relaxed)) + change, m_minimum,
            m_maximum)));
    }
    SendNotify(kThumbPosition);
    InvalidateIfThumbMoved();
}

void CLSWndTrackBar::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void CLSWndTrackBar::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}
