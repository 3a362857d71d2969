#include "synth/SoundFontLocator.h"

#include <cstdlib>
#include <unistd.h>

namespace {

bool IsReadableFile(const std::string& path) {
    return !path.empty() && ::access(path.c_str(), R_OK) == 0;
}

} // namespace

SoundFontLocator::SoundFontLocator()
    : m_folders(DefaultFolders()),
      m_override(std::getenv(kEnvironmentVariable) ? std::getenv(kEnvironmentVariable) : "") {}

SoundFontLocator::SoundFontLocator(std::vector<std::string> folders, std::string overridePath)
    : m_folders(std::move(folders)), m_override(std::move(overridePath)) {}

std::string SoundFontLocator::Find() const {
    if (!m_override.empty())
        return IsReadableFile(m_override) ? m_override : std::string();
    // The name decides before the folder: a better SoundFont anywhere beats a worse one first.
    for (const std::string& name : PreferredNames()) {
        for (const std::string& folder : m_folders) {
            const std::string path = folder + "/" + name;
            if (IsReadableFile(path))
                return path;
        }
    }
    return {};
}

const std::vector<std::string>& SoundFontLocator::DefaultFolders() {
    static const std::vector<std::string> folders = {
        "/usr/share/sounds/sf2", "/usr/share/soundfonts", "/usr/share/sounds/sf3"};
    return folders;
}

const std::vector<std::string>& SoundFontLocator::PreferredNames() {
    static const std::vector<std::string> names = {"FluidR3_GM.sf2", "TimGM6mb.sf2",
                                                   "default-GM.sf2", "default-GM.sf3"};
    return names;
}
