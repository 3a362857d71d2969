#pragma once

#include <functional>
#include <string>

// Opaque handle of the window that owns a message; the core never looks inside it.
using OwnerWindow = const void*;

// One failure the user is told about: a code, the module that detected it and a line there.
// Either shown at once (Show) or thrown and shown by the top level.
class CLSError {
public:
    CLSError(int code, const char* module, int line, bool midiSystem = false) noexcept
        : m_module(module), m_line(line), m_code(code), m_midiSystem(midiSystem) {}

    int Code() const noexcept { return m_code; }
    const char* Module() const noexcept { return m_module; }
    int Line() const noexcept { return m_line; }
    bool IsMidiSystem() const noexcept { return m_midiSystem; }

    // The text Show presents: the code's message, a blank line, then "MODULE : N行".
    std::string Message() const;
    void Show(OwnerWindow owner = nullptr) const;

    // The message of a code from the program's own table ("???" outside 4..16).
    static const char* CodeText(int code) noexcept;

    static constexpr const char* kCaption = "Druvel";
    static constexpr std::size_t kTextBufferSize = 388;

    // Message box style of every report: the error icon with a single OK button.
    static constexpr unsigned kStyleIconError = 0x10;

    // What the user sees; the GUI shows it in a message box of the given style.
    struct Report {
        std::string text;
        const char* caption;
        OwnerWindow owner;
        unsigned style = kStyleIconError;
    };
    using Reporter = std::function<void(const Report&)>;

    // Replaces how errors are presented (stderr by default); returns the previous reporter.
    static Reporter SetReporter(Reporter reporter);
    // Hands a report of any text to the current reporter, as Show does.
    static void Present(const Report& report);

private:
    const char* m_module;
    int m_line;
    int m_code;
    bool m_midiSystem;
};
