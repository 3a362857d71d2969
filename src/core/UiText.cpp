#include "core/UiText.h"

#include <mutex>

namespace {

// Installed at start-up, but an error on a worker thread may translate at any time.
// A translator must not call Translate.
std::mutex g_translatorMutex;

UiText::Translator& Current() {
    static UiText::Translator translator;
    return translator;
}

} // namespace

std::string UiText::Translate(const char* context, const char* source) {
    if (!source)
        return {};
    // Held during the call: a translator being replaced is never called after it is gone.
    std::lock_guard lock(g_translatorMutex);
    if (const Translator& translator = Current()) {
        std::string translated = translator(context, source);
        if (!translated.empty())
            return translated;
    }
    return source;
}

std::string UiText::Format(const std::string& pattern,
                           std::initializer_list<std::string> arguments) {
    std::string text;
    text.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const std::size_t index = static_cast<std::size_t>(next - '1');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && index < arguments.size()) {
            text += arguments.begin()[index];
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

UiText::Translator UiText::SetTranslator(Translator translator) {
    std::lock_guard lock(g_translatorMutex);
    Translator previous = std::move(Current());
    Current() = std::move(translator);
    return previous;
}
