#pragma once

#include <QObject>

// Lets the tooltips of the widgets it watches through only while the hints are on and their
// window is active, as a toolbar's own tips behave. Clearing a tool button's tooltip is no
// way to hide it: the button then shows its text instead.
class ToolTipGate : public QObject {
public:
    explicit ToolTipGate(QObject* parent = nullptr) : QObject(parent) {}

    void Watch(QObject* widget) { widget->installEventFilter(this); }
    void SetOpen(bool open);
    bool IsOpen() const noexcept { return m_open; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_open = true;
};
