#pragma once

#include "clock/Clock.h"
#include "output/MidiOutputFactory.h"

#include <memory>
#include <string>
#include <vector>

// The MIDI output devices in the numbering the device menu and the MidiDeviceID setting use:
// 0 is the embedded synthesizer, 1..n−1 the writable ALSA sequencer ports in client:port
// order, and −1, the default device, is the embedded synthesizer too.
class MidiOutDevices {
public:
    static constexpr int kDefaultDevice = -1;
    static constexpr int kSynthesizer = 0;

    explicit MidiOutDevices(std::string sequencerName = "default");

    int Count() const;
    // Names by device number, 0..Count()−1.
    std::vector<std::string> Names() const;
    int Create(int deviceId, std::unique_ptr<MidiOutput>& out) const;

    // The factory for the engine: devices as numbered by a fresh enumeration at each call.
    static MidiOutputFactory SystemFactory();

    // What a command line may name: a device number, or "capture:FILE" for a capture file
    // whose times are read from `clock`. MIDIOUT_BADDEVICEID for anything else.
    static int CreateFromArgument(const std::string& argument, const Clock& clock,
                                  std::unique_ptr<MidiOutput>& out);

    // The same for a whole run that opens a fresh output at each play: one capture file holds
    // every play (the first truncates it, the others append, and times count from the first).
    static MidiOutputFactory RunFactory(std::string argument, const Clock& clock);

    static const char* SynthesizerName() noexcept;

private:
    std::string m_sequencerName;
};
