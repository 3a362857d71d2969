#include "platform/PlatformBackends.h"

#include "core/ArchiveLibrary.h"
#include "platform/BuiltinArchiveLibrary.h"
#include "platform/MidiOutDevices.h"
#include "platform/MidiOutputFactory.h"

void InstallPlatformBackends() {
    SetArchiveLibraryLoader(LoadBuiltinArchiveLibrary);
    SetSystemMidiOutputFactory(MidiOutDevices::SystemFactory());
}
