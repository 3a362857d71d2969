#include "app/MessageBoxReporter.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QThread>
#include <QWidget>

namespace {

QMessageBox::Icon IconOf(unsigned style) {
    switch (style & 0xF0) {
    case 0x30:
        return QMessageBox::Warning;
    case 0x40:
        return QMessageBox::Information;
    case 0x20:
        return QMessageBox::Question;
    default:
        return QMessageBox::Critical;
    }
}

void ShowOnGuiThread(const CLSError::Report& report) {
    auto* owner = static_cast<QWidget*>(const_cast<void*>(report.owner));
    QMessageBox box(IconOf(report.style), QString::fromUtf8(report.caption),
                    QString::fromStdString(report.text), QMessageBox::Ok, owner);
    box.exec();
}

} // namespace

MessageBoxReporter::MessageBoxReporter() : m_previous(CLSError::SetReporter(&Show)) {}

MessageBoxReporter::~MessageBoxReporter() {
    CLSError::SetReporter(std::move(m_previous));
}

void MessageBoxReporter::Show(const CLSError::Report& report) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        ShowOnGuiThread(report);
        return;
    }
    // Never waits: the GUI thread may be joining the very thread that reports.
    QMetaObject::invokeMethod(
        app, [report] { ShowOnGuiThread(report); }, Qt::QueuedConnection);
}
