#include "cli/CliSong.h"

#include "core/UiText.h"

#include <cstdio>

namespace {

// Any non-null owner: the engine shows read errors only when it has one.
const int kConsoleOwner = 0;

} // namespace

bool LoadSongForCli(CLSMIDIData& song, const std::string& path) {
    int shown = 0;
    CLSError::Reporter previous;
    previous = CLSError::SetReporter([&](const CLSError::Report& report) {
        ++shown;
        if (previous)
            previous(report);
    });
    song.SetOwner(&kConsoleOwner);
    const bool loaded = song.Load(path.c_str());
    CLSError::SetReporter(previous);
    if (!loaded && shown == 0)
        std::fprintf(
            stderr, "druvel-cli: %s\n",
            UiText::Format(UiText::Translate("CliSong", "%1: not a Standard MIDI File"), {path})
                .c_str());
    return loaded;
}
