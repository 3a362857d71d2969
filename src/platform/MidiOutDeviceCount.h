#pragma once

// Number of MIDI output devices the device menu offers (the embedded synthesizer is always
// there, so this is at least 1).
int MidiOutDeviceCount();
