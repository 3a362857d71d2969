#include "l10n/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <string>

namespace {

std::unique_ptr<QTranslator> LoadCatalog(const QString& path, bool& loaded) {
    auto catalog = std::make_unique<QTranslator>();
    loaded = catalog->load(path) && loaded;
    return catalog;
}

} // namespace

Translations::Translations(MessagesLocale::Language language, MessagesLocale::Language commandLine)
    : m_language(language) {
    using Language = MessagesLocale::Language;
    if (language == Language::English)
        m_catalog = LoadCatalog(QStringLiteral(":/translations/druvel_en.qm"), m_loaded);
    if (commandLine == Language::Japanese)
        m_commandLine = LoadCatalog(QStringLiteral(":/translations/druvel_ja.qm"), m_loaded);
    if (!m_catalog && !m_commandLine) {
        m_previous = UiText::SetTranslator({});
        return;
    }
    // Each catalog holds its own contexts, so at most one of them knows a text.
    const QTranslator* catalogs[] = {m_catalog.get(), m_commandLine.get()};
    m_previous = UiText::SetTranslator([catalogs](const char* context, const char* source) {
        for (const QTranslator* catalog : catalogs) {
            if (!catalog)
                continue;
            const QString text = catalog->translate(context, source);
            if (!text.isEmpty())
                return text.toStdString();
        }
        return std::string();
    });
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
