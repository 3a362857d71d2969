#include "settings/ui/CLSNumberEdit.h"

#include "settings/CLSCustomizePages.h"

#include <QLineEdit>
#include <QTimer>

#include <algorithm>

CLSNumberEdit::CLSNumberEdit(int minimum, int maximum, QWidget* parent)
    : QAbstractSpinBox(parent), m_minimum(minimum), m_maximum(maximum) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setKeyboardTracking(true);
    // Digits typed half-width: no input method composes into the field.
    lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setInputMethodHints(Qt::ImhDigitsOnly);
    connect(lineEdit(), &QLineEdit::textChanged, this, [this] { Q_EMIT TextChanged(); });
}

QString CLSNumberEdit::Text() const {
    return lineEdit()->text();
}

void CLSNumberEdit::SetText(const QString& text) {
    lineEdit()->setText(text);
}

void CLSNumberEdit::SetNumber(int number) {
    SetText(QString::number(number));
}

void CLSNumberEdit::stepBy(int steps) {
    const long long next = static_cast<long long>(Current()) + steps;
    SetNumber(static_cast<int>(std::clamp<long long>(next, m_minimum, m_maximum)));
    selectAll();
}

QValidator::State CLSNumberEdit::validate(QString& input, int& /*pos*/) const {
    for (const QChar c : input)
        if (c < u'0' || c > u'9')
            return QValidator::Invalid;
    return QValidator::Acceptable;
}

void CLSNumberEdit::fixup(QString& /*input*/) const {
    // Every digit string is kept as typed; the page judges it when it applies.
}

QAbstractSpinBox::StepEnabled CLSNumberEdit::stepEnabled() const {
    const int current = Current();
    StepEnabled enabled = StepNone;
    if (current > m_minimum)
        enabled |= StepDownEnabled;
    if (current < m_maximum)
        enabled |= StepUpEnabled;
    return enabled;
}

void CLSNumberEdit::focusInEvent(QFocusEvent* event) {
    QAbstractSpinBox::focusInEvent(event);
    // Posted: a mouse click that brought the focus would otherwise place the cursor afterwards.
    QTimer::singleShot(0, this, [this] { selectAll(); });
}

int CLSNumberEdit::Current() const {
    const std::uint32_t number = CLSCustomizePages::ReadNumber(Text().toStdString());
    return static_cast<int>(std::min<std::uint32_t>(number, static_cast<std::uint32_t>(m_maximum)));
}
