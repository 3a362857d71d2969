#pragma once

#include "midi/CLSMIDIData.h"

#include <string>

// Loads a song for a command: the engine's own messages go to stderr, and an input that is
// not a Standard MIDI File (which the engine refuses silently) gets a line of its own.
bool LoadSongForCli(CLSMIDIData& song, const std::string& path);
