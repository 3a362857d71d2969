#include "app/ToolTipGate.h"

#include <QEvent>
#include <QToolTip>
#include <QWidget>

void ToolTipGate::SetOpen(bool open) {
    if (m_open == open)
        return;
    m_open = open;
    if (!open)
        QToolTip::hideText();
}

bool ToolTipGate::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QObject::eventFilter(watched, event);
    // The window shows the playlist's tips even while inactive; the toolbar's keep to the
    // active window.
    const auto* widget = qobject_cast<QWidget*>(watched);
    const bool shown = m_open && widget && widget->isActiveWindow();
    return !shown;
}
