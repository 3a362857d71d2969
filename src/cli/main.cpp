// druvel-cli: the headless front end over the core (terminals, scripts and tests).
#include "backends/PlatformBackends.h"
#include "cli/CliCommands.h"
#include "core/CLSError.h"
#include "core/UiText.h"
#include "l10n/Translations.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

namespace {

void PrintUsage(std::FILE* out) {
    std::fputs(UiText::Translate("CliMain", "Usage: druvel-cli <command> [options] [FILE...]\n"
                                            "\n"
                                            "Druvel, a player for Standard MIDI Files, without a "
                                            "window.\n"
                                            "\n"
                                            "Options:\n"
                                            "  --help       show this help\n"
                                            "  --version    show the version\n")
                   .c_str(),
               out);
    for (const CliCommand& command : CliCommandTable())
        std::fprintf(out, "\n  %-10s %s", command.name,
                     UiText::Translate("CliCommands", command.summary).c_str());
    if (!CliCommandTable().empty())
        std::fputc('\n', out);
}

// An error no command caught still gets its report and a failure status, never an abort.
int RunCommand(const CliCommand& command, const std::vector<std::string>& args) {
    try {
        return command.run(args);
    } catch (const CLSError& error) {
        error.Show();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "druvel-cli: %s\n", error.what());
    }
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    InstallPlatformBackends();
    // The core's messages (errors, warnings) in the user's language; the program's own texts
    // are written in English and become Japanese only for a Japanese locale asked for by name.
    const MessagesLocale::Environment environment = MessagesLocale::FromProcess();
    const Translations translations(MessagesLocale::Decide(environment),
                                    MessagesLocale::DecideForCommandLine(environment));
    if (argc < 2) {
        PrintUsage(stderr);
        return 2;
    }
    const std::string first = argv[1];
    if (first == "--help" || first == "-h" || first == "help") {
        PrintUsage(stdout);
        return 0;
    }
    if (first == "--version") {
        std::printf("druvel-cli %s\n", DRUVEL_VERSION);
        return 0;
    }
    for (const CliCommand& command : CliCommandTable()) {
        if (first == command.name)
            return RunCommand(command, std::vector<std::string>(argv + 2, argv + argc));
    }
    const std::string unknown = UiText::Format(
        UiText::Translate("CliMain", "unknown command '%1' (see druvel-cli --help)"), {first});
    std::fprintf(stderr, "druvel-cli: %s\n", unknown.c_str());
    return 2;
}
