// druvel-cli events FILE: the merged event list, one event per line. The lines are for scripts
// and stay the same in every language.
#include "cli/CliSong.h"
#include "core/UiText.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Event = CLSMIDIData::CLSMIDIEvent;

// Data bytes of a channel or short system message.
int ShortDataCount(std::uint8_t status) {
    if (status < 0xF0) {
        const int kind = status & 0xF0;
        return (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
    }
    switch (status) {
    case 0xF1:
    case 0xF3:
        return 1;
    case 0xF2:
        return 2;
    default:
        return 0;
    }
}

int MetaDataCount(std::uint8_t type) {
    switch (type) {
    case 0x00:
    case 0x59:
        return 2;
    case 0x20:
        return 1;
    case 0x58:
        return 4;
    default:
        return 0;
    }
}

void AppendHex(std::string& out, const std::uint8_t* bytes, unsigned count) {
    static const char digits[] = "0123456789ABCDEF";
    for (unsigned i = 0; i < count; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 0x0F];
    }
}

std::string Payload(const Event& event) {
    std::string out;
    if (event.HasBlock()) {
        AppendHex(out, event.BlockData(), event.BlockLength());
    } else if (event.Status() == 0xFF && event.MetaType() == 0x51) {
        const std::uint32_t t = event.Tempo();
        const std::uint8_t bytes[3] = {static_cast<std::uint8_t>(t >> 16),
                                       static_cast<std::uint8_t>(t >> 8),
                                       static_cast<std::uint8_t>(t)};
        AppendHex(out, bytes, 3);
    } else {
        const int count = event.Status() == 0xFF ? MetaDataCount(event.MetaType())
                                                 : ShortDataCount(event.Status());
        std::uint8_t bytes[4];
        for (int i = 0; i < count; ++i)
            bytes[i] = event.Data(i);
        AppendHex(out, bytes, static_cast<unsigned>(count));
    }
    return out.empty() ? "-" : out;
}

} // namespace

int RunEventsCommand(const std::vector<std::string>& args) {
    if (args.size() != 1 || args[0].rfind("--", 0) == 0) {
        std::fputs(UiText::Translate("CliEvents", "Usage: druvel-cli events FILE\n").c_str(),
                   stderr);
        return 2;
    }
    CLSMIDIData song;
    if (!LoadSongForCli(song, args[0]))
        return 1;
    std::uint64_t tick = 0;
    for (const Event& event : song.GetEvents()) {
        tick += static_cast<std::uint32_t>(event.delta);
        char meta[4] = "--";
        if (event.Status() == 0xFF)
            std::snprintf(meta, sizeof meta, "%02X", event.MetaType());
        std::printf("%llu %d %u %02X %s %s\n", static_cast<unsigned long long>(tick), event.delta,
                    event.row, event.Status(), meta, Payload(event).c_str());
    }
    return 0;
}
