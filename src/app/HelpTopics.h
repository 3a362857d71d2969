#pragma once

#include <string>
#include <string_view>

// The help pages and the numbered topics the program asks for: 101 the main window, 102 its
// menus, 103 to 105 the Customize pages, 106 the playlist, 107 devices and settings, 108 the
// archive chooser. Every page exists in Japanese, at the help root, and in English, under en/.
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

enum class HelpLanguage { Japanese, English };

// The page's file name of a topic; the contents page for a number without one.
std::string_view PageOf(int topic);

// The same page in one language's set, relative to the help root ("en/main.html").
std::string PageFor(int topic, HelpLanguage language);
std::string ContentsPageFor(HelpLanguage language);

// "ja", "ja_JP.UTF-8", "C", "POSIX" and "" read Japanese, the program's own language; any other
// code ("en", "de_DE", ...) reads English.
HelpLanguage LanguageOfCode(std::string_view code);

// The help follows the language the rest of the program speaks (MessagesLocale's rule).
HelpLanguage LanguageOfEnvironment();

} // namespace HelpTopics
