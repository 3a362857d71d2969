#include "cli/PlayListArguments.h"

bool AddCliPaths(CLSPlayList& playList, const std::vector<std::string>& paths) {
    bool all = true;
    for (const std::string& path : paths)
        all = playList.Add(CLSTString(path.c_str()), true) && all;
    return all;
}

int ParsePlayOrder(const std::string& name) {
    if (name == "normal")
        return kPlayNormal;
    if (name == "one")
        return kPlayRepeatOne;
    if (name == "all")
        return kPlayRepeatAll;
    if (name == "random")
        return kPlayRandom;
    return -1;
}
