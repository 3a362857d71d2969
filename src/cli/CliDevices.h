#pragma once

#include <string>
#include <vector>

int RunDevicesCommand(const std::vector<std::string>& args);
