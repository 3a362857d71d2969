// druvel-cli list PATH...: the playlist that adding these paths would make, one path a line.
#include "cli/PlayListArguments.h"
#include "core/UiText.h"

#include <cstdio>

int RunList(const std::vector<std::string>& args) {
    if (args.empty()) {
        std::fputs(UiText::Translate("CliList", "Usage: druvel-cli list PATH...\n").c_str(),
                   stderr);
        return 2;
    }
    CLSPlayList playList;
    const bool all = AddCliPaths(playList, args);
    for (unsigned i = 0; i < playList.Count(); ++i) {
        const CLSTString path = playList.GetPath(i);
        std::fwrite(path.Text(), 1, static_cast<std::size_t>(path.Length()), stdout);
        std::fputc('\n', stdout);
    }
    return all ? 0 : 1;
}
