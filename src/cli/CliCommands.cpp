#include "cli/CliCommands.h"

int RunList(const std::vector<std::string>& args);

const std::vector<CliCommand>& CliCommandTable() {
    static const std::vector<CliCommand> table = {
        {"list", "print the playlist that adding the paths would make", RunList},
    };
    return table;
}
