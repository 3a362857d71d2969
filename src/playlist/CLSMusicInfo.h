#pragma once

#include "core/CLSTString.h"

#include <cstdint>

// One playlist entry. Made from a path alone; the texts and the length are filled when the
// song has been loaded once.
class CLSMusicInfo {
public:
    CLSMusicInfo() = default;
    explicit CLSMusicInfo(const CLSTString& songPath) : path(songPath) {}

    // What the list shows in its first column: the title, else the file name (for an archive
    // member, the file name of the part after ">").
    CLSTString DisplayName() const;

    // The row's tooltip: the path and every known field, one per line (CR LF).
    CLSTString ToolTipText() const;

    // "m:ss" for a known length, empty for 0.
    static CLSTString FormatLength(std::int32_t milliseconds);

    CLSTString path;
    CLSTString title;
    CLSTString composer;
    CLSTString lyricist;
    CLSTString arranger;
    CLSTString artist;
    std::int32_t length = 0;
};
