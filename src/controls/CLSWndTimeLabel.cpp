#include "controls/CLSWndTimeLabel.h"

#include "controls/ControlFonts.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QThread>

#include <algorithm>
#include <cstdio>

CLSWndTimeLabel::CLSWndTimeLabel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
}

void CLSWndTimeLabel::Create(QWidget* parent, int controlId) {
    m_controlId = controlId;
    setParent(parent);
    setGeometry(0, 0, 0, 0);
    m_created.store(true, std::memory_order_relaxed);
    show();
}

void CLSWndTimeLabel::Destroy() {
    if (!m_created.exchange(false, std::memory_order_relaxed))
        return;
    hide();
    setParent(nullptr);
}

void CLSWndTimeLabel::Move(int x, int y, int width, int height) {
    if (!IsCreated())
        return;
    setGeometry(x, y, width, height);
    // A hidden widget gets its resize event only when shown; the font must fit already.
    UpdateFont();
    update();
}

void CLSWndTimeLabel::Show(bool visible) {
    if (IsCreated())
        setVisible(visible);
}

void CLSWndTimeLabel::SetSeconds(unsigned seconds) {
    if (m_seconds.exchange(seconds, std::memory_order_relaxed) == seconds)
        return;
    if (QThread::currentThread() == thread())
        update();
    else
        m_repaint.Post();
}

std::string CLSWndTimeLabel::Text(unsigned seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text;
}

int CLSWndTimeLabel::FontHeight(int width, int height) {
    return std::min(width / 4, height) + 2;
}

void CLSWndTimeLabel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UpdateFont();
}

void CLSWndTimeLabel::UpdateFont() {
    if (size() == m_fontFor)
        return;
    m_fontFor = size();
    m_font = ControlFonts::Make("Times New Roman", FontHeight(width(), height()),
                                ControlFonts::kWeightBold, true);
}

void CLSWndTimeLabel::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), m_backgroundColor);
    painter.setFont(m_font);
    const QString text = QString::fromLatin1(Text(Seconds()));
    const int flags = Qt::AlignCenter | Qt::TextSingleLine;
    painter.setPen(m_shadowColor);
    painter.drawText(rect().translated(1, 1), flags, text);
    painter.setPen(m_textColor);
    painter.drawText(rect(), flags, text);
}
