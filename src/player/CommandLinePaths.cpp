#include "player/CommandLinePaths.h"

#include <filesystem>
#include <system_error>

namespace {

// A relative path is made absolute here: it may be handed to a running instance with another
// working folder, and it is kept in the recent files and the playlist for later runs.
std::string Absolute(const char* path, const std::string& folder) {
    if (path[0] == '/' || folder.empty())
        return path;
    return folder + "/" + path;
}

std::string WorkingFolder() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    return error ? std::string() : folder.string();
}

} // namespace

std::vector<std::string> CommandLinePaths(int argc, const char* const* argv) {
    std::vector<std::string> paths;
    const std::string folder = WorkingFolder();
    for (int i = 1; i < argc && argv[i] != nullptr; ++i) {
        if (argv[i][0] == '\0')
            break;
        paths.push_back(Absolute(argv[i], folder));
    }
    return paths;
}
