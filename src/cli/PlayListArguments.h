#pragma once

#include "playlist/CLSPlayList.h"

#include <string>
#include <vector>

// Adds the paths of a druvel-cli command line (list, play) to a playlist as the program adds its
// own command-line paths: songs, playlist files, archives (every "*.mid" and "*.kar" member) and
// folders with their subfolders. False when any path could not be added.
bool AddCliPaths(CLSPlayList& playList, const std::vector<std::string>& paths);

// "normal", "one", "all" or "random" to the PlayType value; -1 for anything else.
int ParsePlayOrder(const std::string& name);
