#pragma once

#include <string>
#include <vector>

// One sub-command of druvel-cli. Each command lives in its own source file and is listed in
// CliCommands.cpp.
struct CliCommand {
    const char* name;
    const char* summary; // marked for the catalog, translated where it is shown
    int (*run)(const std::vector<std::string>& args);
};

const std::vector<CliCommand>& CliCommandTable();
