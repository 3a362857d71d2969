#pragma once

#include "app/HelpTopics.h"

#include <QWidget>

class QListWidget;
class QTextBrowser;

// The help window: the table of contents beside the page it opens. One window serves every
// request, brought to the front at each. It shows one language's pages for its whole life.
class CLSHelpWindow : public QWidget {
    Q_OBJECT
public:
    // In the language the environment asks for.
    explicit CLSHelpWindow(QWidget* parent = nullptr);
    explicit CLSHelpWindow(HelpTopics::HelpLanguage language, QWidget* parent = nullptr);

    void ShowContents();
    void ShowTopic(int topic);
    // The page now shown, relative to the help folder ("main.html").
    QString CurrentPage() const;
    HelpTopics::HelpLanguage Language() const { return m_language; }

private:
    void Open(const QString& page);
    void FillContents();

    HelpTopics::HelpLanguage m_language;
    QListWidget* m_contents;
    QTextBrowser* m_browser;
};
