#pragma once

#include "core/CLSTString.h"

#include <QFileDialog>

// The save dialog of the playlist: the playlist and list filters and all files, overwrite
// confirmed. A name typed without extension takes the chosen filter's extension before the
// overwrite question, so the question is asked about the file that will really be replaced.
class CLSPlayListSaveDialog : public QFileDialog {
    Q_OBJECT
public:
    explicit CLSPlayListSaveDialog(QWidget* owner = nullptr);

    // The filters' texts as the user reads them, in order.
    static QStringList FilterTexts();
    // 1 for the first filter, 2 and 3 for the others (the numbering of the extension rule).
    int FilterIndex() const;
    // The file to write after the dialog was accepted (path bytes); empty before.
    CLSTString TargetPath() const;
    // After a system dialog, which asked about the name as typed: true when the file with the
    // extension may be replaced (it does not exist, or the user agrees).
    bool ReplacingAgreed();

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowFilterTexts();
    QString Target() const;
    bool AskReplacing(const QString& target, QWidget* owner);

    QString m_agreedTarget;
};
