#pragma once

#include <string>
#include <vector>

class QMimeData;

// The local files and folders of a drop, in the order the drag source gave them, as file-system
// paths. Anything that is not a local file (web links, text) is left out.
std::vector<std::string> DroppedPaths(const QMimeData& data);
