#include "core/MessagesLocale.h"

#include <cstdlib>
#include <optional>
#include <string_view>

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// What the locale asks for: C, POSIX and no locale at all ask for no language in particular,
// so each program answers with its own texts.
enum class Asked { Japanese, English, OwnTexts };

// A locale name we can answer for: nullopt for one that says nothing (empty) or asks for a
// language we have no texts in (a LANGUAGE entry that another entry may still satisfy).
std::optional<Asked> Known(std::string_view name) {
    // "jav" (Javanese) and "jam" are not Japanese: only "ja" alone or before a region,
    // codeset or modifier.
    if (StartsWith(name, "ja") &&
        (name.size() == 2 || std::string_view("_-.@").find(name[2]) != std::string_view::npos))
        return Asked::Japanese;
    if (name == "C" || name == "POSIX" || StartsWith(name, "C.") || StartsWith(name, "POSIX."))
        return Asked::OwnTexts;
    if (StartsWith(name, "en"))
        return Asked::English;
    return std::nullopt;
}

Asked Ask(const MessagesLocale::Environment& environment) {
    // LANGUAGE lists preferences in order ("fr:ja"): the first we have texts for wins.
    std::string_view list = environment.language;
    bool listed = false;
    while (!list.empty()) {
        const std::size_t colon = list.find(':');
        const std::string_view entry = list.substr(0, colon);
        list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
        if (entry.empty())
            continue;
        listed = true;
        if (const auto asked = Known(entry))
            return *asked;
    }
    if (listed)
        return Asked::English;
    for (const std::string* name : {&environment.all, &environment.messages, &environment.lang}) {
        if (name->empty())
            continue;
        return Known(*name).value_or(Asked::English);
    }
    return Asked::OwnTexts;
}

} // namespace

MessagesLocale::Language MessagesLocale::Decide(const Environment& environment) {
    return Ask(environment) == Asked::English ? Language::English : Language::Japanese;
}

MessagesLocale::Language MessagesLocale::DecideForCommandLine(const Environment& environment) {
    return Ask(environment) == Asked::Japanese ? Language::Japanese : Language::English;
}

MessagesLocale::Environment MessagesLocale::FromProcess() {
    auto get = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value ? value : "");
    };
    return {get("LANGUAGE"), get("LC_ALL"), get("LC_MESSAGES"), get("LANG")};
}
