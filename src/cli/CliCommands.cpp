#include "cli/CliCommands.h"

#include "cli/CliDevices.h"

const std::vector<CliCommand>& CliCommandTable() {
    static const std::vector<CliCommand> table = {
        {"devices", "list the MIDI output devices", RunDevicesCommand},
    };
    return table;
}
