#include "app/KeypadAccelerators.h"

#include "player/CLSCommandTables.h"
#include "player/CommandId.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

KeypadAccelerators::KeypadAccelerators(QWidget& window, std::function<void(int)> run)
    : QObject(&window), m_window(window), m_run(std::move(run)) {
    qApp->installEventFilter(this);
}

KeypadAccelerators::~KeypadAccelerators() {
    qApp->removeEventFilter(this);
}

int KeypadAccelerators::CommandFor(int key, Qt::KeyboardModifiers modifiers) {
    if (!modifiers.testFlag(Qt::KeypadModifier))
        return kCmdNone;
    AccelKey accel;
    if (key == Qt::Key_Plus)
        accel = AccelKey::KeypadPlus;
    else if (key == Qt::Key_Minus)
        accel = AccelKey::KeypadMinus;
    else
        return kCmdNone;
    const Qt::KeyboardModifiers rest = modifiers & ~Qt::KeypadModifier;
    int accelModifiers = kAccelNone;
    if (rest.testFlag(Qt::ControlModifier))
        accelModifiers |= kAccelCtrl;
    if (rest.testFlag(Qt::AltModifier))
        accelModifiers |= kAccelAlt;
    if (rest & ~(Qt::ControlModifier | Qt::AltModifier))
        return kCmdNone;
    return CLSCommandTables::CommandForKey(accel, accelModifiers);
}

bool KeypadAccelerators::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &m_window)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const int id = CommandFor(key->key(), key->modifiers());
    if (id == kCmdNone)
        return false;
    if (type == QEvent::ShortcutOverride) {
        // Claimed here, so no child's shortcut takes it; the press that follows runs it.
        event->accept();
        return true;
    }
    m_run(id);
    return true;
}
