#pragma once

#include <QObject>
#include <QString>

class QWidget;

// Writes the moment a window's first frame reached the screen (monotonic clock, microseconds)
// to a file, once: how start-up time is measured from outside without guessing at the screen.
class FirstFrameReport final : public QObject {
public:
    // Watches `window`, shown but not yet exposed, when the environment variable `variable`
    // names a file; else nothing.
    FirstFrameReport(QWidget& window, const char* variable);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Write() const;

    QString m_path;
    bool m_done = false;
};
