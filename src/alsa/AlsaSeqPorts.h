#pragma once

#include <string>
#include <vector>

// One port of another ALSA sequencer client that accepts MIDI from us.
struct AlsaSeqPort {
    int client = 0;
    int port = 0;
    std::string clientName;
    std::string portName;

    // As the device menu shows it: "Port name (client:port)".
    std::string DisplayName() const;
};

// The writable ports of the ALSA sequencer, in client:port order.
class AlsaSeqPorts {
public:
    // Empty when there is no sequencer (no ALSA, no permission, a container): never an error,
    // since the embedded synthesizer still plays.
    static std::vector<AlsaSeqPort> List(const char* sequencerName = "default");

    // Keeps ALSA from printing its own messages when a sequencer cannot be opened.
    static void QuietAlsaErrors();
};
