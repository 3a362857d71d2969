#include "cli/CliPlayOptions.h"

#include "cli/PlayListArguments.h"
#include "core/DisplayText.h"
#include "core/UiText.h"

#include <charconv>
#include <cstdio>

const char* const kPlayUsage = DRUVEL_TRANSLATE_NOOP(
    "CliPlay",
    "Usage: druvel-cli play [--device N|capture:FILE] [--tempo P] [--key K] [--volume V]\n"
    "                       [--start MS] [--order normal|one|all|random]\n"
    "                       [--encoding NAME] [--soundfont F] PATH...\n"
    "PATH: songs, folders, playlist files (.m3u .lst .txt) and archives (.zip .lzh).\n"
    "Keys on a terminal: space pause/resume, n next, p previous, q quit.\n");

namespace {

bool ParseDevice(const std::string& text, CliPlayOptions& options) {
    options.device = text;
    if (text.rfind("capture:", 0) == 0)
        return text.size() > 8;
    return ParseCliInt(text, -1, 255, options.deviceId);
}

} // namespace

bool ParseCliInt(const std::string& text, long low, long high, int& value) {
    long parsed = 0;
    const char* end = text.data() + text.size();
    const auto [rest, error] = std::from_chars(text.data(), end, parsed);
    if (text.empty() || error != std::errc() || rest != end || parsed < low || parsed > high)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

int ReportOptionError(const char* command, const std::string& error, const std::string& usage) {
    if (error == "help") {
        std::fputs(usage.c_str(), stdout);
        return 0;
    }
    std::fprintf(stderr, "druvel-cli %s: %s\n%s", command, error.c_str(), usage.c_str());
    return 2;
}

bool ParsePlayOptions(const std::vector<std::string>& args, CliPlayOptions& options,
                      std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            error = "help";
            return false;
        }
        if (arg.rfind("--", 0) != 0) {
            options.files.push_back(arg);
            continue;
        }
        if (i + 1 >= args.size()) {
            error = UiText::Format(UiText::Translate("CliOptions", "%1 needs a value"), {arg});
            return false;
        }
        const std::string& value = args[++i];
        int start = 0;
        bool ok = false;
        if (arg == "--device")
            ok = ParseDevice(value, options);
        else if (arg == "--tempo")
            ok = ParseCliInt(value, 1, 1000, options.tempo);
        else if (arg == "--key")
            ok = ParseCliInt(value, -127, 127, options.key);
        else if (arg == "--volume")
            ok = ParseCliInt(value, 0, 100, options.volume);
        else if (arg == "--start")
            ok = ParseCliInt(value, 0, 42000000, start);
        else if (arg == "--encoding")
            ok = IsKnownEncoding(options.encoding = value);
        else if (arg == "--soundfont")
            ok = !(options.soundFont = value).empty();
        else if (arg == "--order")
            ok = (options.order = ParsePlayOrder(value)) >= 0;
        else {
            error = UiText::Format(UiText::Translate("CliOptions", "unknown option %1"), {arg});
            return false;
        }
        if (!ok) {
            error = UiText::Format(UiText::Translate("CliOptions", "bad value for %1: %2"),
                                   {arg, value});
            return false;
        }
        if (arg == "--start")
            options.startMs = static_cast<unsigned>(start);
    }
    if (options.files.empty()) {
        error = UiText::Translate("CliOptions", "no file given");
        return false;
    }
    return true;
}
