#include "app/HelpTopics.h"

#include <array>

namespace HelpTopics {

std::string_view PageOf(int topic) {
    static constexpr std::array<std::string_view, kLast - kFirst + 1> pages = {
        "main.html",          "menus.html",    "settings-general.html", "settings-spectrum.html",
        "settings-midi.html", "playlist.html", "devices.html",          "archive.html"};
    if (topic < kFirst || topic > kLast)
        return kContentsPage;
    return pages[static_cast<std::size_t>(topic - kFirst)];
}

} // namespace HelpTopics
