#pragma once

#include <string>

// Which language the program speaks, from the messages locale as Qt reads it: LANGUAGE (a
// list of preferences), then the first of LC_ALL, LC_MESSAGES and LANG that is set. Japanese is
// the program's own language, so it is also what C, POSIX and an unset locale get.
class MessagesLocale {
public:
    enum class Language { Japanese, English };

    struct Environment {
        std::string language; // LANGUAGE
        std::string all;      // LC_ALL
        std::string messages; // LC_MESSAGES
        std::string lang;     // LANG
    };

    static Language Decide(const Environment& environment);
    // The command line's own texts are English, and a terminal, a script or a CI log without a
    // locale keeps reading them so: only a Japanese locale asked for by name gets Japanese.
    static Language DecideForCommandLine(const Environment& environment);
    static Environment FromProcess();
    static Language FromProcessEnvironment() { return Decide(FromProcess()); }
};
