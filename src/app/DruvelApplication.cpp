#include "app/DruvelApplication.h"

#include <exception>
#include <new>

namespace {

constexpr int kOutOfMemoryCode = 14;
constexpr int kUnexpectedCode = 16;
constexpr const char* kModule = "MAIN";

} // namespace

DruvelApplication::DruvelApplication(int& argc, char** argv) : QApplication(argc, argv) {}

void DruvelApplication::SetIdentity() {
    QCoreApplication::setApplicationName(QStringLiteral("druvel"));
    QGuiApplication::setDesktopFileName(QStringLiteral("druvel"));
}

template <typename Step> bool DruvelApplication::Guarded(Step&& step) {
    try {
        step();
        return true;
    } catch (const CLSError& error) {
        m_error = error;
    } catch (const std::bad_alloc&) {
        m_error = CLSError(kOutOfMemoryCode, kModule, __LINE__);
    } catch (const std::exception&) {
        m_error = CLSError(kUnexpectedCode, kModule, __LINE__);
    }
    return false;
}

bool DruvelApplication::notify(QObject* receiver, QEvent* event) {
    if (m_halted)
        return false;
    bool handled = false;
    if (!Guarded([&] { handled = QApplication::notify(receiver, event); })) {
        m_halted = true;
        QCoreApplication::exit(kErrorExitCode);
    }
    return handled;
}

int DruvelApplication::Run(const std::function<bool()>& startUp) {
    int code = kErrorExitCode;
    bool loop = false;
    if (Guarded([&] { loop = startUp(); }))
        code = loop ? exec() : 0;
    if (!m_error)
        return code;
    // The loop is over: the box gets a loop of its own and its events are delivered again.
    m_halted = false;
    m_error->Show();
    return kErrorExitCode;
}
