#pragma once

// Text of a spectrum row label: 0..127 General MIDI programs, 128 percussion, 129..144
// channels 1..16; "" outside that range.
const char* MIDILabelName(int label) noexcept;
