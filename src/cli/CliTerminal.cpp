#include "cli/CliTerminal.h"

#include <poll.h>
#include <unistd.h>

CliTerminal::CliTerminal() {
    if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &m_saved) != 0)
        return;
    termios raw = m_saved;
    raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
    raw.c_cc[VMIN] = 0;
    raw.c_cc[VTIME] = 0;
    m_raw = tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0;
}

CliTerminal::~CliTerminal() {
    if (m_raw)
        tcsetattr(STDIN_FILENO, TCSANOW, &m_saved);
}

bool CliTerminal::OutputIsTerminal() noexcept {
    return isatty(STDOUT_FILENO) != 0;
}

int CliTerminal::ReadKey(int timeoutMs) {
    if (!m_raw) {
        poll(nullptr, 0, timeoutMs);
        return -1;
    }
    pollfd input{STDIN_FILENO, POLLIN, 0};
    if (poll(&input, 1, timeoutMs) <= 0 || (input.revents & POLLIN) == 0)
        return -1;
    unsigned char key = 0;
    return read(STDIN_FILENO, &key, 1) == 1 ? key : -1;
}
