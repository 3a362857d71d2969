#pragma once

#include <string_view>

// The help pages and the numbered topics the program asks for: 101 the main window, 102 its
// menus, 103 to 105 the Customize pages, 106 the playlist, 107 devices and settings, 108 the
// archive chooser.
namespace HelpTopics {

constexpr int kMainWindow = 101;
constexpr int kMenus = 102;
constexpr int kCustomizeGeneral = 103;
constexpr int kCustomizeSpectrum = 104;
constexpr int kCustomizeMidi = 105;
constexpr int kPlayList = 106;
constexpr int kDevices = 107;
constexpr int kArchiveChooser = 108;
constexpr int kFirst = kMainWindow;
constexpr int kLast = kArchiveChooser;

constexpr std::string_view kContentsPage = "index.html";

// The page of a topic; the contents page for a number without one.
std::string_view PageOf(int topic);

} // namespace HelpTopics
