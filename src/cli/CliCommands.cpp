#include "cli/CliCommands.h"

const std::vector<CliCommand>& CliCommandTable() {
    static const std::vector<CliCommand> table = {
    };
    return table;
}
