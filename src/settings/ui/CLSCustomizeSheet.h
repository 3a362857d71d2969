#pragma once

#include "settings/CLSCustomizePages.h"
#include "settings/ui/CLSCustomizeSpectrumPage.h"

#include <QDialog>
#include <QDialogButtonBox>

#include <array>
#include <functional>

class CLSCustomizePage;
class CLSDRUVSettings;
class QPushButton;
class QTabWidget;

// The Customize sheet: three pages over the settings record, OK, Cancel, Apply and Help. A page
// is built when it is first shown, and only built pages apply. It opens on the page last shown
// during this run. What it needs from the window comes through callbacks, so it runs alone too.
class CLSCustomizeSheet : public QDialog {
    Q_OBJECT
public:
    // After each page that applied: the window passes the settings on.
    using Applied = std::function<void()>;
    using ShowHelp = std::function<void(int topic)>;
    using Warn = std::function<void(QWidget* owner, const QString& text)>;

    CLSCustomizeSheet(CLSDRUVSettings& settings, QWidget* owner);
    ~CLSCustomizeSheet() override;

    void SetApplied(Applied applied) { m_applied = std::move(applied); }
    void SetShowHelp(ShowHelp help) { m_help = std::move(help); }
    void SetWarn(Warn warn) { m_warn = std::move(warn); }
    void SetColorChooser(CLSCustomizeSpectrumPage::ColorChooser chooser) {
        m_chooser = std::move(chooser);
    }

    // Applies every built page in order; how many took their values.
    int ApplyPages();
    QTabWidget& Tabs() const { return *m_tabs; }
    // Null until the page has been shown.
    CLSCustomizePage* Page(int index) const;
    QPushButton* Button(QDialogButtonBox::StandardButton which) const;

    // The platform's colour chooser, with the custom colours kept for the run.
    static std::optional<QColor> ChooseColor(QWidget* owner, QColor initial);
    // A warning box captioned "Druvel".
    static void ShowWarning(QWidget* owner, const QString& text);

public Q_SLOTS:
    // OK: every built page applies; the sheet stays open while a page refused its number.
    void accept() override;

private:
    void EnsurePage(int index);
    void PageShown(int index);
    void MarkChanged();
    void Apply();
    void Help();
    bool ApplyAll();

    CLSCustomizePages m_pages;
    QTabWidget* m_tabs;
    QDialogButtonBox* m_buttons;
    std::array<CLSCustomizePage*, CLSCustomizePages::kPageCount> m_built{};
    int m_firstRefused = -1;
    Applied m_applied;
    ShowHelp m_help;
    Warn m_warn = ShowWarning;
    CLSCustomizeSpectrumPage::ColorChooser m_chooser = ChooseColor;
};
