#include "settings/ui/CLSCustomizePage.h"

#include "settings/CLSCustomizePages.h"
#include "settings/ui/CLSNumberEdit.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>

#include <utility>

CLSCustomizePage::CLSCustomizePage(CLSCustomizePages& pages, Changed changed, QWidget* parent)
    : QWidget(parent), m_pages(pages), m_changed(std::move(changed)) {}

QSize CLSCustomizePage::DialogUnits(const QFontMetrics& metrics, int x, int y) {
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int across = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    const int down = metrics.height();
    return {(x * across + 2) / 4, (y * down + 4) / 8};
}

CLSNumberEdit* CLSCustomizePage::NumberFieldOf(int page) {
    const CLSCustomizePages::Range& range = CLSCustomizePages::RangeOf(page);
    return new CLSNumberEdit(static_cast<int>(range.minimum), static_cast<int>(range.maximum));
}

QHBoxLayout* CLSCustomizePage::NumberRow(const QString& label, CLSNumberEdit* field,
                                         const QString& unit) {
    auto* row = new QHBoxLayout;
    auto* caption = new QLabel(label);
    caption->setBuddy(field);
    // Room for five digits and the arrows, as wide as the field of the original layout.
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 24);
    row->addWidget(caption);
    row->addWidget(field);
    row->addWidget(new QLabel(unit));
    row->addStretch();
    return row;
}
