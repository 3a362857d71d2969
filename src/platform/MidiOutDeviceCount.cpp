#include "platform/MidiOutDeviceCount.h"

#include "platform/MidiOutDevices.h"

int MidiOutDeviceCount() {
    return MidiOutDevices().Count();
}
