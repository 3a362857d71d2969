#include "app/FirstFrameReport.h"

#include <QEvent>
#include <QFile>
#include <QWidget>
#include <QWindow>

#include <ctime>

FirstFrameReport::FirstFrameReport(QWidget& window, const char* variable)
    : m_path(qEnvironmentVariable(variable)) {
    if (m_path.isEmpty())
        return;
    if (QWindow* handle = window.windowHandle())
        handle->installEventFilter(this);
}

bool FirstFrameReport::eventFilter(QObject* watched, QEvent* event) {
    auto* window = qobject_cast<QWindow*>(watched);
    if (!m_done && event->type() == QEvent::Expose && window && window->isExposed()) {
        m_done = true;
        // Queued: the expose is answered by painting and flushing the frame first.
        QMetaObject::invokeMethod(
            this, [this] { Write(); }, Qt::QueuedConnection);
    }
    return false;
}

void FirstFrameReport::Write() const {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const long long us = static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
    QFile file(m_path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(QByteArray::number(us) + '\n');
}
