#pragma once

#include <QObject>

#include <functional>

class QWidget;

// The keypad's accelerators, taken from key presses before the focused child sees them. On X11
// Qt reports keypad keys with the keypad modifier, and its shortcut lookup drops that modifier
// before it matches, so a shortcut built with it never fires.
class KeypadAccelerators : public QObject {
public:
    // `run` gets the command of a keypad accelerator pressed anywhere inside `window`.
    KeypadAccelerators(QWidget& window, std::function<void(int)> run);
    ~KeypadAccelerators() override;

    // The command for a key press, or none (kCmdNone).
    static int CommandFor(int key, Qt::KeyboardModifiers modifiers);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_window;
    std::function<void(int)> m_run;
};
