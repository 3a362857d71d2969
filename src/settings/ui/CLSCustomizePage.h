#pragma once

#include <QWidget>

#include <functional>
#include <optional>
#include <string>

class CLSCustomizePages;
class CLSNumberEdit;
class QFontMetrics;
class QHBoxLayout;

// One page of the Customize sheet: it shows part of the settings record and takes it back
// when the sheet applies. Every edit is reported through `changed`, which enables Apply.
class CLSCustomizePage : public QWidget {
public:
    using Changed = std::function<void()>;

    // Reads the controls into the record; the warning to show when the page's number is
    // refused, in which case nothing of the page is taken.
    virtual std::optional<std::string> Apply() = 0;
    // The field a refused number is corrected in.
    virtual CLSNumberEdit* NumberField() const = 0;

    // Dialog units of the original layout in pixels of `metrics`' font: a quarter of the
    // average letter width across, an eighth of the line height down.
    static QSize DialogUnits(const QFontMetrics& metrics, int x, int y);

protected:
    CLSCustomizePage(CLSCustomizePages& pages, Changed changed, QWidget* parent);

    // The numeric field of `page`, its arrows stepping within the page's range.
    static CLSNumberEdit* NumberFieldOf(int page);
    // "label [field] unit" on one line, the label's mnemonic focusing the field.
    static QHBoxLayout* NumberRow(const QString& label, CLSNumberEdit* field, const QString& unit);

    CLSCustomizePages& m_pages;
    Changed m_changed;
};
