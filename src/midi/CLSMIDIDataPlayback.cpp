// The playback engine: playing the loaded event list on the output device.
#include "midi/CLSMIDIData.h"

void CLSMIDIData::StopPlayback() {}
