#pragma once

#include <QDialog>
#include <QIcon>
#include <QUrl>

class QLabel;

// The about box: the program's icon, its name, version and rights line, and a link to the
// project's home page opened with the desktop's default handler (the box stays open).
class CLSAboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit CLSAboutDialog(QWidget* owner = nullptr);

    static QUrl HomePage();
    // The program's icon at the sizes drawn for it (the window and the about box use it).
    static QIcon ProgramIcon();
    static QString VersionText();

    QLabel* LinkLabel() const noexcept { return m_link; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildTexts(class QGridLayout* grid);
    void PlaceOverOwner();

    QLabel* m_link = nullptr;
};
