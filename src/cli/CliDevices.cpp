// druvel-cli devices: the MIDI outputs, numbered as the device menu and MidiDeviceID number them.
#include "cli/CliDevices.h"

#include "platform/MidiOutDevices.h"

#include <cstdio>

int RunDevicesCommand(const std::vector<std::string>& args) {
    if (!args.empty()) {
        std::fputs("Usage: druvel-cli devices\n", args[0] == "--help" ? stdout : stderr);
        return args[0] == "--help" ? 0 : 2;
    }
    const std::vector<std::string> names = MidiOutDevices().Names();
    for (std::size_t id = 0; id < names.size(); ++id)
        std::printf("%3zu  %s\n", id, names[id].c_str());
    std::printf("%3d  %s  (default)\n", MidiOutDevices::kDefaultDevice,
                MidiOutDevices::SynthesizerName());
    return 0;
}
