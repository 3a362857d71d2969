#pragma once

#include <string>
#include <vector>

// The paths a command line names. The shell has split and unquoted them already; an empty
// argument ends the list, as an empty quoted pair always has. Any length is kept; a relative
// path is made absolute against the working folder.
std::vector<std::string> CommandLinePaths(int argc, const char* const* argv);
