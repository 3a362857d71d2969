#pragma once

#include <functional>
#include <initializer_list>
#include <string>

// Marks a text for the translation catalog where it is stored (a table, a constant) and
// translated later with UiText::Translate under the same context.
#define DRUVEL_TRANSLATE_NOOP(context, text) text

// The texts the user reads, in the user's language. The program's own texts are Japanese;
// a front end that has a catalog installs a translator, and until then every text is shown as
// written. Song texts never pass through here.
class UiText {
public:
    // Returns the translation of source in context, or an empty string when there is none.
    using Translator = std::function<std::string(const char* context, const char* source)>;

    static std::string Translate(const char* context, const char* source);
    // Puts arguments[i] where %(i+1) stands in a translated pattern, so a translation may
    // reorder them; the arguments themselves are never searched for placeholders.
    static std::string Format(const std::string& pattern,
                              std::initializer_list<std::string> arguments);
    // Replaces the translator (none: the texts as written); returns the previous one.
    static Translator SetTranslator(Translator translator);
};
