#include "controls/CLSWndSeparator.h"

#include "controls/SeparatorGeometry.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

CLSWndSeparator::CLSWndSeparator(QWidget* parent)
    : QWidget(parent), m_color(palette().color(QPalette::Button)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::SizeHorCursor);
    hide();
}

bool CLSWndSeparator::Create(QWidget* parent, int controlId) {
    m_dragging = false;
    m_controlId = controlId;
    setParent(parent);
    setGeometry(0, 0, 0, 0);
    m_created = true;
    show();
    return true;
}

void CLSWndSeparator::Destroy() {
    if (!m_created)
        return;
    EndDrag();
    m_created = false;
    hide();
    setParent(nullptr);
}

void CLSWndSeparator::Show(bool visible) {
    if (m_created)
        setVisible(visible);
}

void CLSWndSeparator::SetFlags(unsigned flags) {
    m_flags = flags;
    setCursor(IsHorizontal() ? Qt::SizeVerCursor : Qt::SizeHorCursor);
    update();
}

void CLSWndSeparator::SetLimits(int minimum, int maximum) {
    m_minimum = minimum;
    m_maximum = maximum;
    SetPosition(GetPosition());
}

void CLSWndSeparator::SetExtent(int start, int end) {
    m_extentStart = start;
    m_extentEnd = end;
    Place(GetPosition());
}

void CLSWndSeparator::SetPosition(int centre) {
    Place(SeparatorGeometry::ClampCentre(centre, m_minimum, m_maximum));
}

int CLSWndSeparator::GetPosition() const {
    const QRect bar = geometry();
    return SeparatorGeometry::CentreOf(IsHorizontal() ? bar.y() : bar.x(), m_thickness);
}

void CLSWndSeparator::Place(int centre) {
    if (!m_created)
        return;
    const auto bar =
        SeparatorGeometry::BarRect(IsHorizontal(), centre, m_thickness, m_extentStart, m_extentEnd);
    setGeometry(bar.x, bar.y, bar.width, bar.height);
}

void CLSWndSeparator::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), m_color);
    const QColor shadow = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    const int w = width();
    const int h = height();
    // An engraved line along the middle: shadow, then light beside it.
    if (IsHorizontal()) {
        painter.fillRect(QRect(0, h / 2, w, 1), shadow);
        painter.fillRect(QRect(0, h / 2 + 1, w, 1), light);
    } else {
        painter.fillRect(QRect(w / 2, 0, 1, h), shadow);
        painter.fillRect(QRect(w / 2 + 1, 0, 1, h), light);
    }
}

void CLSWndSeparator::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        // Qt keeps the mouse here until the button is released.
        m_dragging = true;
    } else if (event->button() == Qt::RightButton && m_dragging) {
        // Ends the drag where it has brought the bar.
        EndDrag();
    }
}

void CLSWndSeparator::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging)
        return;
    const QPoint inParent = mapToParent(event->position().toPoint());
    const int wanted = SeparatorGeometry::ClampCentre(IsHorizontal() ? inParent.y() : inParent.x(),
                                                      m_minimum, m_maximum);
    if (wanted == GetPosition())
        return;
    SetPosition(wanted);
    if (parentWidget() != nullptr)
        Q_EMIT LayoutRequested(parentWidget()->size());
}

void CLSWndSeparator::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        EndDrag();
}

void CLSWndSeparator::EndDrag() {
    m_dragging = false;
}
