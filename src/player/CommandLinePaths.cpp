#include "player/CommandLinePaths.h"

std::vector<std::string> CommandLinePaths(int argc, const char* const* argv) {
    std::vector<std::string> paths;
    for (int i = 1; i < argc && argv[i] != nullptr; ++i) {
        if (argv[i][0] == '\0')
            break;
        paths.emplace_back(argv[i]);
    }
    return paths;
}
