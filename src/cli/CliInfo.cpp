// druvel-cli info [--json] [--words] [--encoding NAME] [--spectrum-type 0|1|2] FILE...: what
// a song holds.
#include "cli/CliSong.h"
#include "core/DisplayText.h"
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

struct Field {
    const char* name;
    std::string json;     // the value as JSON
    std::string readable; // the value for people
};

std::vector<Field> SongFields(const std::string& path, const CLSMIDIData& song) {
    const auto number = [](long long v) { return std::to_string(v); };
    const auto text = [&song](const CLSTString& t) {
        return Field{"", JsonString(Shown(t, song)), Shown(t, song)};
    };
    std::vector<Field> fields = {
        {"path", JsonString(path), path},
        {"loaded", song.IsLoaded() ? "true" : "false", song.IsLoaded() ? "yes" : "no"},
        {"format", number(song.GetFormat()), number(song.GetFormat())},
        {"resolution", number(song.GetResolution()), number(song.GetResolution())},
        {"xf", song.GetXF() ? "true" : "false", song.GetXF() ? "yes" : "no"},
        {"length_ms", number(song.GetLength()), number(song.GetLength())},
        {"events", number(static_cast<long long>(song.GetEvents().size())),
         number(static_cast<long long>(song.GetEvents().size()))},
        {"max_velocity", number(song.GetMaxVelocity()), number(song.GetMaxVelocity())},
    };
    const std::pair<const char*, const CLSTString*> texts[] = {
        {"title", &song.GetTitle()},       {"composer", &song.GetComposer()},
        {"lyricist", &song.GetLyricist()}, {"arranger", &song.GetArranger()},
        {"artist", &song.GetArtist()},
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
        f.name = "information";
        fields.push_back(f);
    }
    const std::string& encoding = song.GetTextEncoding();
    fields.push_back({"encoding", JsonString(encoding), encoding});
    fields.push_back({"lyric_pages", song.HasLyricLayout() ? "true" : "false",
                      song.HasLyricLayout() ? "yes" : "no"});
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
        std::printf("%-13s %s\n", (std::string(f.name) + ":").c_str(), value.c_str());
    }
    const MIDITRACKINFOARRAY& rows = song.GetRows();
    std::printf("%-13s %u\n", "rows:", rows.size());
    for (unsigned i = 0; i < rows.size(); ++i)
        std::printf("  %3u  %3d  %s\n", i, rows[i].label, MIDILabelName(rows[i].label));
    if (withWords) {
        std::printf("%-13s %zu\n", "words:", song.GetWords().size());
        for (const CLSMIDIWordInfo& w : song.GetWords())
            std::printf("  time %d  duration %d  kind %d  part %d  line %d  %s\n", w.time,
                        w.duration, w.kind, w.part, w.line,
                        JsonString(Shown(w.text, song)).c_str());
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
        std::fputs(
            "Usage: druvel-cli info [--json] [--words] [--encoding NAME] [--spectrum-type 0|1|2] "
            "FILE...\n",
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
