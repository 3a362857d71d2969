#include "settings/SettingsLocation.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string ExecutableFolder() {
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return "";
    const std::string exe(path, static_cast<std::size_t>(n));
    const std::size_t slash = exe.rfind('/');
    return slash == std::string::npos ? "" : exe.substr(0, slash == 0 ? 1 : slash);
}

std::string HomeFolder() {
    std::string home = Variable("HOME");
    if (home.empty()) {
        if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir)
            home = entry->pw_dir;
    }
    return home;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Only root can write there, and a file it leaves there belongs to no package: an installed
// copy is never a portable one.
bool IsSystemFolder(const std::string& folder) {
    return folder == "/usr" || folder.rfind("/usr/", 0) == 0;
}

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

} // namespace

SettingsLocation::Environment SettingsLocation::FromProcess() {
    return {Variable("DRUVEL_HOME"), ExecutableFolder(), Variable("XDG_CONFIG_HOME"), HomeFolder()};
}

std::string SettingsLocation::ChooseFolder(const Environment& environment) {
    if (!environment.druvelHome.empty())
        return environment.druvelHome;
    const std::string& exe = environment.executableFolder;
    if (!exe.empty() && (Exists(Join(exe, kFileName)) || (IsFolder(exe) && !IsSystemFolder(exe) &&
                                                          ::access(exe.c_str(), W_OK) == 0)))
        return exe;
    // Relative values are to be ignored by the base-directory rules.
    if (!environment.xdgConfigHome.empty() && environment.xdgConfigHome.front() == '/')
        return Join(environment.xdgConfigHome, "druvel");
    return Join(Join(environment.home, ".config"), "druvel");
}

std::string SettingsLocation::IniPath() {
    return Join(ChooseFolder(FromProcess()), kFileName);
}

bool SettingsLocation::CreateFolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return true; // the current folder or the root
    const std::string folder = path.substr(0, slash);
    if (IsFolder(folder))
        return true;
    for (std::size_t next = folder.find('/', 1);; next = folder.find('/', next + 1)) {
        const std::string part = folder.substr(0, next);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (next == std::string::npos)
            break;
    }
    return IsFolder(folder);
}
