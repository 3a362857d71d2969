// druvel-cli info [--json] [--words] [--encoding NAME] [--spectrum-type 0|1|2] FILE...: what
// a song holds. The JSON is for scripts and stays the same in every language; the labels of the
// readable form are translated.
#include "cli/CliSong.h"
#include "core/DisplayText.h"
#include "core/UiText.h"
#include "midi/MIDILabelNames.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct InfoOptions {
    bool json = false;
    bool words = false;
    std::string encoding;
    std::vector<std::string> files;
};

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// The song's texts as the window shows them: one encoding for all of them.
std::string Shown(const CLSTString& text, const CLSMIDIData& song) {
    return DisplayText(text.Text(), static_cast<std::size_t>(text.Length()),
                       song.GetTextEncoding());
}

// Columns a terminal gives a label: East Asian wide characters take two.
std::size_t Columns(const std::string& text) {
    std::size_t columns = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t code = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k)
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        const bool wide =
            (code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0xA4CF) ||
            (code >= 0xAC00 && code <= 0xD7A3) || (code >= 0xF900 && code <= 0xFAFF) ||
            (code >= 0xFE30 && code <= 0xFE4F) || (code >= 0xFF00 && code <= 0xFF60) ||
            (code >= 0xFFE0 && code <= 0xFFE6);
        columns += wide ? 2 : 1;
        i += length;
    }
    return columns;
}

// The label of a readable line with its colon, padded so the values line up.
std::string Label(const char* name) {
    std::string label = UiText::Translate("CliInfo", name) + ":";
    for (std::size_t columns = Columns(label); columns < 13; ++columns)
        label += ' ';
    return label;
}

std::string YesNo(bool yes) {
    return yes ? UiText::Translate("CliInfo", "yes") : UiText::Translate("CliInfo", "no");
}

struct Field {
    const char* name;     // the JSON key, marked for the catalog as the readable label
    std::string json;     // the value as JSON
    std::string readable; // the value for people
};

std::vector<Field> SongFields(const std::string& path, const CLSMIDIData& song) {
    const auto number = [](long long v) { return std::to_string(v); };
    const auto text = [&song](const CLSTString& t) {
        return Field{"", JsonString(Shown(t, song)), Shown(t, song)};
    };
    std::vector<Field> fields = {
        {DRUVEL_TRANSLATE_NOOP("CliInfo", "path"), JsonString(path), path},
        {DRUVEL_TRANSLATE_NOOP("CliInfo", "loaded"), song.IsLoaded() ? "true" : "false",
         YesNo(song.IsLoaded())},
        {DRUVEL_TRANSLATE_NOOP("CliInfo", "format"), number(song.GetFormat()),
         number(song.GetFormat())},
        {DRUVEL_TRANSLATE_NOOP("CliInfo", "resolution"), number(song.GetResolution()),
         number(song.GetResolution())},
        {DRUVEL_TRANSLATE_NOOP("CliInfo", "xf"), song.GetXF() ? "true" : "false",
         YesNo(song.GetXF())},
        {DRUVEL_TRANSLATE_NOOP("CliInfo", "length_ms"), number(song.GetLength()),
         number(song.GetLength())},
        {DRUVEL_TRANSLATE_NOOP("CliInfo", "events"),
         number(static_cast<long long>(song.GetEvents().size())),
         number(static_cast<long long>(song.GetEvents().size()))},
        {DRUVEL_TRANSLATE_NOOP("CliInfo", "max_velocity"), number(song.GetMaxVelocity()),
         number(song.GetMaxVelocity())},
    };
    const std::pair<const char*, const CLSTString*> texts[] = {
        {DRUVEL_TRANSLATE_NOOP("CliInfo", "title"), &song.GetTitle()},
        {DRUVEL_TRANSLATE_NOOP("CliInfo", "composer"), &song.GetComposer()},
        {DRUVEL_TRANSLATE_NOOP("CliInfo", "lyricist"), &song.GetLyricist()},
        {DRUVEL_TRANSLATE_NOOP("CliInfo", "arranger"), &song.GetArranger()},
        {DRUVEL_TRANSLATE_NOOP("CliInfo", "artist"), &song.GetArtist()},
    };
    for (const auto& [name, value] : texts) {
        Field f = text(*value);
        f.name = name;
        fields.push_back(f);
    }
    // XF songs keep the output they always had: their texts are always CP932 or UTF-8.
    if (song.GetXF() || !song.IsLoaded())
        return fields;
    if (!song.GetInformation().IsEmpty()) {
        Field f = text(song.GetInformation());
        f.name = DRUVEL_TRANSLATE_NOOP("CliInfo", "information");
        fields.push_back(f);
    }
    const std::string& encoding = song.GetTextEncoding();
    fields.push_back(
        {DRUVEL_TRANSLATE_NOOP("CliInfo", "encoding"), JsonString(encoding), encoding});
    fields.push_back({DRUVEL_TRANSLATE_NOOP("CliInfo", "lyric_pages"),
                      song.HasLyricLayout() ? "true" : "false", YesNo(song.HasLyricLayout())});
    return fields;
}

void PrintJson(const std::string& path, const CLSMIDIData& song, bool withWords) {
    std::string out = "{";
    for (const Field& f : SongFields(path, song))
        out += JsonString(f.name) + ":" + f.json + ",";
    out += "\"rows\":[";
    const MIDITRACKINFOARRAY& rows = song.GetRows();
    for (unsigned i = 0; i < rows.size(); ++i) {
        out += (i ? "," : "") + std::string("{\"label\":") + std::to_string(rows[i].label) +
               ",\"name\":" + JsonString(MIDILabelName(rows[i].label)) + "}";
    }
    out += "]";
    if (withWords) {
        out += ",\"words\":[";
        bool first = true;
        for (const CLSMIDIWordInfo& w : song.GetWords()) {
            out += first ? "{" : ",{";
            first = false;
            out += "\"time\":" + std::to_string(w.time) +
                   ",\"duration\":" + std::to_string(w.duration) +
                   ",\"kind\":" + std::to_string(w.kind) + ",\"part\":" + std::to_string(w.part) +
                   ",\"line\":" + std::to_string(w.line) +
                   ",\"text\":" + JsonString(Shown(w.text, song)) + "}";
        }
        out += "]";
    }
    out += "}\n";
    std::fputs(out.c_str(), stdout);
}

void PrintReadable(const std::string& path, const CLSMIDIData& song, bool withWords) {
    for (const Field& f : SongFields(path, song)) {
        std::string value = f.readable; // lines after the first under the first
        for (std::size_t at = value.find('\n'); at != std::string::npos;
             at = value.find('\n', at + 15))
            value.insert(at + 1, 14, ' ');
        std::printf("%s %s\n", Label(f.name).c_str(), value.c_str());
    }
    const MIDITRACKINFOARRAY& rows = song.GetRows();
    std::printf("%s %u\n", Label(DRUVEL_TRANSLATE_NOOP("CliInfo", "rows")).c_str(), rows.size());
    for (unsigned i = 0; i < rows.size(); ++i)
        std::printf("  %3u  %3d  %s\n", i, rows[i].label, MIDILabelName(rows[i].label));
    if (withWords) {
        std::printf("%s %zu\n", Label(DRUVEL_TRANSLATE_NOOP("CliInfo", "words")).c_str(),
                    song.GetWords().size());
        const std::string pattern =
            UiText::Translate("CliInfo", "  time %1  duration %2  kind %3  part %4  line %5  %6");
        for (const CLSMIDIWordInfo& w : song.GetWords()) {
            const std::string line =
                UiText::Format(pattern, {std::to_string(w.time), std::to_string(w.duration),
                                         std::to_string(w.kind), std::to_string(w.part),
                                         std::to_string(w.line), JsonString(Shown(w.text, song))});
            std::printf("%s\n", line.c_str());
        }
    }
    std::printf("\n");
}

bool ParseOptions(const std::vector<std::string>& args, InfoOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--json") {
            options.json = true;
        } else if (a == "--words") {
            options.words = true;
        } else if (a == "--encoding" && i + 1 < args.size() && IsKnownEncoding(args[i + 1])) {
            options.encoding = args[++i];
        } else if (a == "--spectrum-type" && i + 1 < args.size() && args[i + 1].size() == 1 &&
                   args[i + 1][0] >= '0' && args[i + 1][0] <= '2') {
            CLSMIDIData::SetSpectrumType(args[++i][0] - '0');
        } else if (a.rfind("--", 0) == 0) {
            return false;
        } else {
            options.files.push_back(a);
        }
    }
    return !options.files.empty();
}

} // namespace

int RunInfoCommand(const std::vector<std::string>& args) {
    InfoOptions options;
    if (!ParseOptions(args, options)) {
        std::fputs(UiText::Translate("CliInfo", "Usage: druvel-cli info [--json] [--words] "
                                                "[--encoding NAME] [--spectrum-type 0|1|2] "
                                                "FILE...\n")
                       .c_str(),
                   stderr);
        return 2;
    }
    int status = 0;
    for (const std::string& path : options.files) {
        CLSMIDIData song;
        song.SetTextEncoding(options.encoding);
        if (!LoadSongForCli(song, path))
            status = 1;
        if (options.json)
            PrintJson(path, song, options.words);
        else
            PrintReadable(path, song, options.words);
        std::fflush(stdout);
    }
    return status;
}
