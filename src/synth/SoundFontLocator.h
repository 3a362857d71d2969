#pragma once

#include <string>
#include <vector>

// Finds the General MIDI SoundFont of the embedded synthesizer: the file named by
// DRUVEL_SOUNDFONT when that is set, otherwise the first of FluidR3_GM, TimGM6mb and the
// system's default-GM found in the usual Debian folders.
class SoundFontLocator {
public:
    static constexpr const char* kEnvironmentVariable = "DRUVEL_SOUNDFONT";

    // Reads the environment and searches the Debian folders.
    SoundFontLocator();
    SoundFontLocator(std::vector<std::string> folders, std::string overridePath);

    // The path to use, empty when there is none. A named override that cannot be read gives
    // nothing rather than another sound the user did not ask for.
    std::string Find() const;

    static const std::vector<std::string>& DefaultFolders();
    static const std::vector<std::string>& PreferredNames();

private:
    std::vector<std::string> m_folders;
    std::string m_override;
};
