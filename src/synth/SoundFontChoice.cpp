#include "synth/SoundFontChoice.h"

#include "core/CLSError.h"
#include "core/UiText.h"
#include "synth/FluidSynthCore.h"
#include "synth/SoundFontLocator.h"

#include <cerrno>
#include <fluidsynth.h>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::mutex g_mutex;
std::string g_userChoice;     // guarded by g_mutex
std::string g_commandLine;    // guarded by g_mutex
std::set<std::string> g_told; // guarded by g_mutex

constexpr unsigned kStyleWarning = 0x30;

} // namespace

void SoundFontChoice::SetUserChoice(std::string path) {
    std::lock_guard lock(g_mutex);
    // Choosing again is a new attempt: its failure is news.
    if (path != g_userChoice)
        g_told.clear();
    g_userChoice = std::move(path);
}

std::string SoundFontChoice::UserChoice() {
    std::lock_guard lock(g_mutex);
    return g_userChoice;
}

void SoundFontChoice::SetCommandLineChoice(std::string path) {
    std::lock_guard lock(g_mutex);
    g_commandLine = std::move(path);
}

std::string SoundFontChoice::Named() {
    {
        std::lock_guard lock(g_mutex);
        if (!g_commandLine.empty())
            return g_commandLine;
    }
    if (const char* variable = std::getenv(SoundFontLocator::kEnvironmentVariable);
        variable && *variable)
        return variable;
    return UserChoice();
}

SoundFontChoice::Problem SoundFontChoice::Check(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR ? Problem::Missing : Problem::Unreadable;
    if (!S_ISREG(info.st_mode) || ::access(path.c_str(), R_OK) != 0)
        return Problem::Unreadable;
    FluidSynthCore::QuietLog();
    return fluid_is_soundfont(path.c_str()) ? Problem::None : Problem::Damaged;
}

std::string SoundFontChoice::ProblemText(const std::string& path, Problem problem) {
    const char* what = DRUVEL_TRANSLATE_NOOP("SoundFontChoice", "SoundFont を読み込めません：%1");
    if (problem == Problem::Missing)
        what = DRUVEL_TRANSLATE_NOOP("SoundFontChoice", "SoundFont が見つかりません：%1");
    else if (problem == Problem::Damaged)
        what = DRUVEL_TRANSLATE_NOOP("SoundFontChoice", "SoundFont が壊れています：%1");
    return UiText::Format(UiText::Translate("SoundFontChoice", what), {path}) + "\n" +
           UiText::Translate("SoundFontChoice", "自動で選んだ SoundFont で再生します。");
}

std::string SoundFontChoice::Resolve() {
    return Resolve(SoundFontLocator(SoundFontLocator::DefaultFolders(), ""));
}

std::string SoundFontChoice::Resolve(const SoundFontLocator& automatic) {
    const std::string named = Named();
    if (named.empty())
        return automatic.Find();
    const Problem problem = Check(named);
    if (problem == Problem::None)
        return named;
    Refuse(named, problem);
    return automatic.Find();
}

void SoundFontChoice::Refuse(const std::string& path, Problem problem) {
    {
        std::lock_guard lock(g_mutex);
        if (!g_told.insert(path).second)
            return;
    }
    CLSError::Present({ProblemText(path, problem), CLSError::kCaption, nullptr, kStyleWarning});
}
