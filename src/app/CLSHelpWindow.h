#pragma once

#include <QWidget>

class QListWidget;
class QTextBrowser;

// The help window: the table of contents beside the page it opens. One window serves every
// request, brought to the front at each.
class CLSHelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit CLSHelpWindow(QWidget* parent = nullptr);

    void ShowContents();
    void ShowTopic(int topic);
    // The page now shown, relative to the help folder ("main.html").
    QString CurrentPage() const;

private:
    void Open(const QString& page);
    void FillContents();

    QListWidget* m_contents;
    QTextBrowser* m_browser;
};
