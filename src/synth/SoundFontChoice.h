#pragma once

#include <cstdint>
#include <string>

class SoundFontLocator;

// The SoundFont the embedded synthesizer plays with: the command line's file, else
// DRUVEL_SOUNDFONT, else the user's setting, else SoundFontLocator's search. A named file that
// cannot be used is reported once, naming it, and the search's choice plays instead: a bad
// setting must never leave the player silent.
class SoundFontChoice {
public:
    enum class Problem : std::uint8_t { None, Missing, Unreadable, Damaged };

    // The user's setting (empty: automatic), for every synthesizer opened from now on.
    static void SetUserChoice(std::string path);
    static std::string UserChoice();
    // A command's own file, which beats the environment's too (empty: none).
    static void SetCommandLineChoice(std::string path);

    // The file named for the synthesizer, empty when the search decides.
    static std::string Named();
    static Problem Check(const std::string& path);
    // "SoundFont が見つかりません：PATH" and the like, then what plays instead.
    static std::string ProblemText(const std::string& path, Problem problem);

    // The path to load: the named file when it passes Check, otherwise (reported) the search's.
    static std::string Resolve();
    static std::string Resolve(const SoundFontLocator& automatic);
    // Tells the user once per file that it cannot be used (any thread).
    static void Refuse(const std::string& path, Problem problem);
};
