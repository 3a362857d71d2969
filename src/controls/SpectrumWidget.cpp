#include "controls/SpectrumWidget.h"

#include "controls/CLSWndSpectrum.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

SpectrumWidget::SpectrumWidget(CLSWndSpectrum& owner, QWidget* parent)
    : QWidget(parent), m_owner(owner), m_scrollBar(new QScrollBar(Qt::Horizontal, this)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
    m_scrollBar->setRange(1, 1);
    m_scrollBar->setSingleStep(1);
    m_scrollBar->hide();
    connect(m_scrollBar, &QScrollBar::valueChanged, this,
            [this](int position) { m_owner.OnScroll(position); });
}

SpectrumWidget::~SpectrumWidget() {
    m_owner.OnViewDestroyed();
}

QSize SpectrumWidget::ClientSize() const {
    const int bar = m_scrollBar->isVisibleTo(this) ? m_scrollBar->sizeHint().height() : 0;
    return {width(), std::max(height() - bar, 0)};
}

bool SpectrumWidget::LayOutScrollBar(bool needed) {
    const QSize before = ClientSize();
    m_scrollBar->setVisible(needed);
    const int bar = m_scrollBar->sizeHint().height();
    m_scrollBar->setGeometry(0, height() - bar, width(), bar);
    return ClientSize() != before;
}

void SpectrumWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    m_owner.OnPaint(painter);
}

void SpectrumWidget::resizeEvent(QResizeEvent*) {
    LayOutScrollBar(m_scrollBar->isVisibleTo(this));
    m_owner.OnResize();
}

void SpectrumWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_owner.OnPress(event->position().toPoint());
}

void SpectrumWidget::mouseMoveEvent(QMouseEvent* event) {
    m_owner.OnDrag(event->position().toPoint());
}

void SpectrumWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_owner.OnRelease(event->position().toPoint());
}

// A wheel turned over the meters scrolls them, as it would over the bar.
void SpectrumWidget::wheelEvent(QWheelEvent* event) {
    if (!m_scrollBar->isVisible()) {
        event->ignore();
        return;
    }
    const QPoint delta = event->angleDelta();
    const int steps = (delta.x() != 0 ? delta.x() : delta.y()) / 120;
    m_scrollBar->setValue(m_scrollBar->value() - steps);
    event->accept();
}
