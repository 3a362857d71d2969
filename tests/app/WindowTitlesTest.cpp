// The captions as the desktop shows them: only a real X server sees what Qt hands it.
#include "app/CLSAboutDialog.h"
#include "app/CLSHelpWindow.h"
#include "app/DruvelApplication.h"
#include "settings/CLSDRUVSettings.h"
#include "settings/ui/CLSCustomizeSheet.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// An Xvfb of this test's own on the first free display; stopped and reaped on destruction.
class PrivateXServer {
public:
    PrivateXServer() {
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "800x600x24",
                     "-nolisten", "tcp", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        std::string number;
        pollfd ready{fds[0], POLLIN, 0};
        char c = 0;
        while (m_pid > 0 && ::poll(&ready, 1, 10000) == 1 && ::read(fds[0], &c, 1) == 1 &&
               c != '\n')
            number += c;
        ::close(fds[0]);
        if (!number.empty())
            m_display = ":" + number;
    }
    ~PrivateXServer() {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    const std::string& Display() const noexcept { return m_display; }

private:
    pid_t m_pid = -1;
    std::string m_display;
};

// What the window system holds in one property of a window, as xprop prints it: in a UTF-8
// locale, so it prints the caption's characters rather than escaping them.
std::string Property(const std::string& display, WId window, const char* name) {
    const std::string command = "LC_ALL=C.UTF-8 xprop -display " + display + " -id " +
                                std::to_string(static_cast<unsigned long>(window)) + " " + name +
                                " 2>/dev/null";
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[512];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
}

std::string Quoted(const QString& text) {
    return "\"" + text.toStdString() + "\"";
}

TEST(WindowTitles, TheDesktopGetsEachCaptionAsItIs) {
    if (std::system("command -v Xvfb >/dev/null && command -v xprop >/dev/null") != 0)
        GTEST_SKIP() << "Xvfb and xprop are needed to read what the desktop is given";
    PrivateXServer server;
    ASSERT_FALSE(server.Display().empty()) << "Xvfb did not start";
    std::string display = server.Display();
    char name[] = "test_app";
    char platformOption[] = "-platform";
    char platform[] = "xcb";
    char displayOption[] = "-display";
    char* args[] = {name, platformOption, platform, displayOption, display.data(), nullptr};
    int count = 5;
    QApplication app(count, args);
    DruvelApplication::SetIdentity();

    CLSDRUVSettings settings;
    CLSAboutDialog about;
    CLSCustomizeSheet sheet(settings, nullptr);
    CLSHelpWindow help;
    for (QWidget* window : {static_cast<QWidget*>(&about), static_cast<QWidget*>(&sheet),
                            static_cast<QWidget*>(&help)}) {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        const std::string shown = Property(display, window->winId(), "_NET_WM_NAME");
        EXPECT_NE(shown.find("= " + Quoted(window->windowTitle()) + "\n"), std::string::npos)
            << shown;
    }
    EXPECT_NE(Property(display, about.winId(), "WM_CLASS").find("\"druvel\""), std::string::npos)
        << "the window class the desktop entry is matched with";
}

} // namespace
