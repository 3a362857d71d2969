#pragma once

#include "core/CLSError.h"

class QWidget;

// Shows the core's error reports as message boxes: the report's caption and text, the error
// icon, owned by the report's window (a QWidget* passed as the OwnerWindow) when it has one.
// Reports from other threads are queued to the GUI thread.
class MessageBoxReporter {
public:
    MessageBoxReporter();
    ~MessageBoxReporter();
    MessageBoxReporter(const MessageBoxReporter&) = delete;
    MessageBoxReporter& operator=(const MessageBoxReporter&) = delete;

    static OwnerWindow Owner(const QWidget* window) noexcept { return window; }
    static void Show(const CLSError::Report& report);

private:
    CLSError::Reporter m_previous;
};
