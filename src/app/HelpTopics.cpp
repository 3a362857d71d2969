#include "app/HelpTopics.h"

#include "core/MessagesLocale.h"

#include <array>
#include <string>

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

HelpLanguage FromMessages(MessagesLocale::Language language) {
    return language == MessagesLocale::Language::English ? HelpLanguage::English
                                                         : HelpLanguage::Japanese;
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
    MessagesLocale::Environment environment;
    environment.all = std::string(code);
    return FromMessages(MessagesLocale::Decide(environment));
}

HelpLanguage LanguageOfEnvironment() {
    return FromMessages(MessagesLocale::FromProcessEnvironment());
}

} // namespace HelpTopics
