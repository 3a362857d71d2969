#pragma once

#include "core/MessagesLocale.h"
#include "core/UiText.h"

#include <memory>

class QTranslator;

// The program's texts in one language for as long as it lives: English from the catalog built
// into the program, Japanese as written (with Qt's own Japanese texts for its dialogs). Needs
// no application object, so the command-line program translates by the same rule.
// The command line's own texts are written in English; commandLine Japanese reads them from
// their Japanese catalog.
class Translations {
public:
    explicit Translations(MessagesLocale::Language language,
                          MessagesLocale::Language commandLine = MessagesLocale::Language::English);
    ~Translations();
    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

    // Also translates what Qt itself shows and what tr() finds; needs the application.
    void InstallIntoApplication();

    MessagesLocale::Language Language() const { return m_language; }
    // False when the catalog, or once installed Qt's texts, could not be read.
    bool Loaded() const { return m_loaded; }

private:
    MessagesLocale::Language m_language;
    std::unique_ptr<QTranslator> m_catalog;
    std::unique_ptr<QTranslator> m_commandLine;
    std::unique_ptr<QTranslator> m_qtTexts;
    UiText::Translator m_previous;
    bool m_loaded = true;
    bool m_inApplication = false;
};
