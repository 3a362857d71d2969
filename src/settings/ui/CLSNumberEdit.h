#pragma once

#include <QAbstractSpinBox>

// A numeric field with an up-down: digits only, right-aligned, no thousands separator. Unlike
// QSpinBox it keeps whatever digits were typed, an empty text or a number outside the range
// included, so the page can refuse them when it applies. The arrows step within the range.
class CLSNumberEdit : public QAbstractSpinBox {
    Q_OBJECT
public:
    CLSNumberEdit(int minimum, int maximum, QWidget* parent = nullptr);

    QString Text() const;
    void SetText(const QString& text);
    void SetNumber(int number);

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

Q_SIGNALS:
    void TextChanged();

protected:
    StepEnabled stepEnabled() const override;
    void focusInEvent(QFocusEvent* event) override;

private:
    int Current() const;

    int m_minimum;
    int m_maximum;
};
