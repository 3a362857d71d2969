#pragma once

#include "output/MidiOutput.h"

#include <memory>

// An output opened once for a whole command and lent to the engine at each Play: a pause or
// the next song then continues the same capture file instead of starting it again. Closing
// from the engine turns the sound off; the real close comes with the session's end.
class CliSessionOutput {
public:
    explicit CliSessionOutput(std::unique_ptr<MidiOutput> output) : m_output(std::move(output)) {}
    ~CliSessionOutput();
    CliSessionOutput(const CliSessionOutput&) = delete;
    CliSessionOutput& operator=(const CliSessionOutput&) = delete;

    // A handle for the engine; the session must outlive it.
    std::unique_ptr<MidiOutput> Lend();

private:
    class Loan;

    std::unique_ptr<MidiOutput> m_output;
    bool m_open = false;
};
