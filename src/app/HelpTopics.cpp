#include "app/HelpTopics.h"

#include <array>
#include <cstdlib>

namespace HelpTopics {

namespace {

std::string_view FolderOf(HelpLanguage language) {
    return language == HelpLanguage::English ? "en/" : "";
}

std::string InFolder(HelpLanguage language, std::string_view page) {
    std::string path(FolderOf(language));
    path += page;
    return path;
}

} // namespace

std::string_view PageOf(int topic) {
    static constexpr std::array<std::string_view, kLast - kFirst + 1> pages = {
        "main.html",          "menus.html",    "settings-general.html", "settings-spectrum.html",
        "settings-midi.html", "playlist.html", "devices.html",          "archive.html"};
    if (topic < kFirst || topic > kLast)
        return kContentsPage;
    return pages[static_cast<std::size_t>(topic - kFirst)];
}

std::string PageFor(int topic, HelpLanguage language) {
    return InFolder(language, PageOf(topic));
}

std::string ContentsPageFor(HelpLanguage language) {
    return InFolder(language, kContentsPage);
}

HelpLanguage LanguageOfCode(std::string_view code) {
    // "jav" (Javanese) is not Japanese: only the two letters alone or before a region,
    // codeset or modifier.
    const bool japanese =
        code.substr(0, 2) == "ja" &&
        (code.size() == 2 || code[2] == '_' || code[2] == '-' || code[2] == '.' || code[2] == '@');
    const bool plain = code.empty() || code == "C" || code == "POSIX" || code.substr(0, 2) == "C.";
    return japanese || plain ? HelpLanguage::Japanese : HelpLanguage::English;
}

HelpLanguage LanguageOfEnvironment() {
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value == nullptr || *value == '\0')
            continue;
        std::string_view code(value);
        if (std::string_view(name) == "LANGUAGE")
            code = code.substr(0, code.find(':'));
        return LanguageOfCode(code);
    }
    return HelpLanguage::Japanese;
}

} // namespace HelpTopics
