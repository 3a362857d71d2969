#include "backends/PlatformBackends.h"

#include "archive/BuiltinArchiveLibrary.h"
#include "backends/MidiOutDevices.h"
#include "core/ArchiveLibrary.h"
#include "output/MidiOutputFactory.h"

void InstallPlatformBackends() {
    SetArchiveLibraryLoader(LoadBuiltinArchiveLibrary);
    SetSystemMidiOutputFactory(MidiOutDevices::SystemFactory());
}
