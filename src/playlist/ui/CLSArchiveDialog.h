#pragma once

#include "playlist/ArchiveDialogLayout.h"
#include "playlist/CLSArchiveChooser.h"

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The archive chooser: the members of one archive matching a filter, sorted, and the user
// picks some of them. One dialog serves every archive the playlist meets; each Choose starts
// afresh with "*.mid" searched at once.
class CLSArchiveDialog : public QDialog, public CLSArchiveChooser {
    Q_OBJECT
public:
    explicit CLSArchiveDialog(QWidget* parent = nullptr);

    // Shown by the help button and F1 (the window shows its help topic for the chooser).
    std::function<void()> onHelp;

    // CLSArchiveChooser: runs the dialog modally over owner (a QWidget).
    bool Choose(OwnerWindow owner, const CLSTString& archivePath, int& width, int& height,
                CLSTStringArray& chosen) override;

    // The steps of Choose without the modal loop, for callers that drive the dialog
    // themselves: fills it for the archive at the given size over owner, ...
    void Prepare(QWidget* owner, const CLSTString& archivePath, int width, int height);
    // ... and, once it has closed, the selected members in list order (the archive's bytes).
    CLSTStringArray SelectedMembers() const;

    void Search();
    void SelectAll();
    void OpenSelection();

    QLineEdit* FilterEdit() const noexcept { return m_filter; }
    QListWidget* List() const noexcept { return m_list; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateButtons();
    void FillList(const CLSTStringArray& names);
    ArchiveDialogMetrics Metrics() const;
    void ApplyLayout();
    void PlaceOver(QWidget* owner, int width, int height);

    CLSTString m_archivePath;
    CLSTStringArray m_names; // row i of the list shows m_names[i]
    bool m_choosing = false;
    QLabel* m_path;
    QLabel* m_filterLabel;
    QLineEdit* m_filter;
    QPushButton* m_search;
    QListWidget* m_list;
    QPushButton* m_open = nullptr;
    QPushButton* m_selectAll = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_help = nullptr;
};
