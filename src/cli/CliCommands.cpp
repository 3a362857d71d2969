#include "cli/CliCommands.h"

#include "cli/CliDevices.h"

int RunInfoCommand(const std::vector<std::string>& args);
int RunEventsCommand(const std::vector<std::string>& args);
int RunList(const std::vector<std::string>& args);
int RunPlayCommand(const std::vector<std::string>& args);
int RunRenderCommand(const std::vector<std::string>& args);

const std::vector<CliCommand>& CliCommandTable() {
    static const std::vector<CliCommand> table = {
        {"info", "song information, rows and lyrics ([--json] [--words] FILE...)", RunInfoCommand},
        {"events", "the merged event list of a song (FILE)", RunEventsCommand},
        {"list", "print the playlist that adding the paths would make (PATH...)", RunList},
        {"devices", "list the MIDI output devices", RunDevicesCommand},
        {"play", "play songs in real time (see play --help)", RunPlayCommand},
        {"render", "render a song to a WAV file (see render --help)", RunRenderCommand},
    };
    return table;
}
