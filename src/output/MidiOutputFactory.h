#pragma once

#include "output/MidiOutput.h"

#include <functional>
#include <memory>

// Makes an output (not yet opened) for a device id: MIDIOUT_OK, or MIDIOUT_BADDEVICEID.
using MidiOutputFactory = std::function<int(int deviceId, std::unique_ptr<MidiOutput>& out)>;

// The devices the engine opens when its caller names none. The program installs its backends
// at start-up; until then every id is answered with MIDIOUT_NODRIVER. Returns the previous
// factory; an empty one restores that state.
MidiOutputFactory SetSystemMidiOutputFactory(MidiOutputFactory factory);
int CreateSystemMidiOutput(int deviceId, std::unique_ptr<MidiOutput>& out);
