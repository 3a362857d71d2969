#include "controls/SpectrumView.h"

#include "controls/CLSWndSpectrum.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

SpectrumView::SpectrumView(CLSWndSpectrum& owner, QWidget* parent)
    : QWidget(parent), m_owner(owner), m_scrollBar(new QScrollBar(Qt::Horizontal, this)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
    m_scrollBar->setRange(1, 1);
    m_scrollBar->setSingleStep(1);
    m_scrollBar->hide();
    connect(m_scrollBar, &QScrollBar::valueChanged, this,
            [this](int position) { m_owner.OnScroll(position); });
}

SpectrumView::~SpectrumView() {
    m_owner.OnViewDestroyed();
}

QSize SpectrumView::ClientSize() const {
    const int bar = m_scrollBar->isVisibleTo(this) ? m_scrollBar->sizeHint().height() : 0;
    return {width(), std::max(height() - bar, 0)};
}

bool SpectrumView::LayOutScrollBar(bool needed) {
    const QSize before = ClientSize();
    m_scrollBar->setVisible(needed);
    const int bar = m_scrollBar->sizeHint().height();
    m_scrollBar->setGeometry(0, height() - bar, width(), bar);
    return ClientSize() != before;
}

void SpectrumView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    m_owner.OnPaint(painter);
}

void SpectrumView::resizeEvent(QResizeEvent*) {
    LayOutScrollBar(m_scrollBar->isVisibleTo(this));
    m_owner.OnResize();
}

void SpectrumView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_owner.OnPress(event->position().toPoint());
}

void SpectrumView::mouseMoveEvent(QMouseEvent* event) {
    m_owner.OnDrag(event->position().toPoint());
}

void SpectrumView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_owner.OnRelease(event->position().toPoint());
}

// A wheel turned over the meters scrolls them, as it would over the bar.
void SpectrumView::wheelEvent(QWheelEvent* event) {
    if (!m_scrollBar->isVisible()) {
        event->ignore();
        return;
    }
    const QPoint delta = event->angleDelta();
    const int steps = (delta.x() != 0 ? delta.x() : delta.y()) / 120;
    m_scrollBar->setValue(m_scrollBar->value() - steps);
    event->accept();
}
