#pragma once

#include <termios.h>

// The terminal while a command plays: keys are read one at a time without echo when standard
// input is a terminal, and the terminal is given back as it was however the command ends.
class CliTerminal {
public:
    CliTerminal();
    ~CliTerminal();
    CliTerminal(const CliTerminal&) = delete;
    CliTerminal& operator=(const CliTerminal&) = delete;

    bool KeysEnabled() const noexcept { return m_raw; }
    static bool OutputIsTerminal() noexcept;

    // Waits up to `timeoutMs` for a key; -1 when none came (or keys are off: then it only waits).
    int ReadKey(int timeoutMs);

private:
    termios m_saved{};
    bool m_raw = false;
};
