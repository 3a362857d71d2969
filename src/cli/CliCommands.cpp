#include "cli/CliCommands.h"

#include "cli/CliDevices.h"
#include "core/UiText.h"

int RunInfoCommand(const std::vector<std::string>& args);
int RunEventsCommand(const std::vector<std::string>& args);
int RunList(const std::vector<std::string>& args);
int RunPlayCommand(const std::vector<std::string>& args);
int RunRenderCommand(const std::vector<std::string>& args);

const std::vector<CliCommand>& CliCommandTable() {
    static const std::vector<CliCommand> table = {
        {"info",
         DRUVEL_TRANSLATE_NOOP("CliCommands",
                               "song information, rows and lyrics ([--json] [--words] FILE...)"),
         RunInfoCommand},
        {"events", DRUVEL_TRANSLATE_NOOP("CliCommands", "the merged event list of a song (FILE)"),
         RunEventsCommand},
        {"list",
         DRUVEL_TRANSLATE_NOOP("CliCommands",
                               "print the playlist that adding the paths would make (PATH...)"),
         RunList},
        {"devices", DRUVEL_TRANSLATE_NOOP("CliCommands", "list the MIDI output devices"),
         RunDevicesCommand},
        {"play", DRUVEL_TRANSLATE_NOOP("CliCommands", "play songs in real time (see play --help)"),
         RunPlayCommand},
        {"render",
         DRUVEL_TRANSLATE_NOOP("CliCommands", "render a song to a WAV file (see render --help)"),
         RunRenderCommand},
    };
    return table;
}
