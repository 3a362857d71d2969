#include "l10n/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <string>

Translations::Translations(MessagesLocale::Language language) : m_language(language) {
    if (language == MessagesLocale::Language::English) {
        m_catalog = std::make_unique<QTranslator>();
        m_loaded = m_catalog->load(QStringLiteral(":/translations/druvel_en.qm"));
        const QTranslator* catalog = m_catalog.get();
        m_previous = UiText::SetTranslator([catalog](const char* context, const char* source) {
            const QString text = catalog->translate(context, source);
            return text.isEmpty() ? std::string() : text.toStdString();
        });
    } else {
        m_previous = UiText::SetTranslator({});
    }
}

Translations::~Translations() {
    if (m_inApplication && QCoreApplication::instance()) {
        for (QTranslator* translator : {m_catalog.get(), m_qtTexts.get()}) {
            if (translator)
                QCoreApplication::removeTranslator(translator);
        }
    }
    UiText::SetTranslator(std::move(m_previous));
}

void Translations::InstallIntoApplication() {
    if (m_inApplication || !QCoreApplication::instance())
        return;
    m_inApplication = true;
    // Qt's own dialogs (the open dialog's buttons, a message box's) speak English as built.
    if (m_language == MessagesLocale::Language::Japanese) {
        m_qtTexts = std::make_unique<QTranslator>();
        m_loaded = m_qtTexts->load(QStringLiteral("qtbase_ja"),
                                   QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    }
    for (QTranslator* translator : {m_catalog.get(), m_qtTexts.get()}) {
        if (translator && !translator->isEmpty())
            QCoreApplication::installTranslator(translator);
    }
}
