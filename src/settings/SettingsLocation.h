#pragma once

#include <string>

// Where DRUV.INI lives: DRUVEL_HOME when set; else the executable's folder when a DRUV.INI is
// already there or the folder is writable (portable use; never a folder under /usr, where only
// an installed copy lives); else $XDG_CONFIG_HOME/druvel
// (~/.config/druvel when that is unset or not absolute).
class SettingsLocation {
public:
    static constexpr const char* kFileName = "DRUV.INI";

    // What the choice depends on; FromProcess fills it from this process.
    struct Environment {
        std::string druvelHome;
        std::string executableFolder;
        std::string xdgConfigHome;
        std::string home;
    };
    static Environment FromProcess();

    static std::string ChooseFolder(const Environment& environment);
    // The settings file of this process.
    static std::string IniPath();

    // Creates the folder that holds path, with any missing parents (user-only access);
    // true when it exists afterwards.
    static bool CreateFolderOf(const std::string& path);
};
