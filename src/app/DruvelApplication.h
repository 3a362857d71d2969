#pragma once

#include "core/CLSError.h"

#include <QApplication>

#include <functional>
#include <optional>

// The program's QApplication. An exception must never unwind through Qt's event loop (Qt is
// not exception safe there and would end the process); every event is delivered inside a
// handler that treats an error as the start-up handler does: the loop ends at once, the error
// is shown with no owner, and the caller leaves the settings unwritten.
class DruvelApplication : public QApplication {
    Q_OBJECT
public:
    DruvelApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Names the program to the desktop: the application name gives the window class and the
    // accessible name, the desktop file name the entry (name, icon) the shell shows for the
    // windows. No display name: Qt would append it to every caption that does not already
    // end with it, and the captions are the program's own texts.
    static void SetIdentity();

    // Runs the start-up steps, then the event loop when they ask for it (true) and did not
    // fail; shows the error that ended either. The loop's exit code, 0 without a loop, or
    // kErrorExitCode.
    int Run(const std::function<bool()>& startUp);

    // True once an error ended the program: nothing may be saved any more.
    bool Failed() const noexcept { return m_error.has_value(); }

    static constexpr int kErrorExitCode = 1;

private:
    template <typename Step> bool Guarded(Step&& step);

    std::optional<CLSError> m_error;
    // Between a failure and the end of the loop no further handler runs.
    bool m_halted = false;
};
