#include "platform/MidiOutDeviceCount.h"

// Until the output backends enumerate ports, only the embedded synthesizer exists.
int MidiOutDeviceCount() { return 1; }
