#pragma once

#include "controls/CrossThreadWakeup.h"

#include <QPointer>
#include <QWidget>

#include <atomic>

// Asks, from any thread, for a whole widget to be repainted. While the pacer shows frames the
// request waits for the next one, so a thread's step goes to the screen with the meters' in one
// paint and the GUI thread is not woken for it; otherwise the GUI thread is woken at once.
class RepaintRequest {
public:
    // GUI thread; `widget` outlives the request (it is usually the request's owner).
    explicit RepaintRequest(QWidget* widget);
    ~RepaintRequest();
    RepaintRequest(const RepaintRequest&) = delete;
    RepaintRequest& operator=(const RepaintRequest&) = delete;

    // Any thread; allocates nothing and takes no lock.
    void Post() noexcept;

    // GUI thread: repaints the widget if a request waits.
    void Serve();

private:
    QWidget* m_widget;
    std::atomic<bool> m_pending{false};
    CrossThreadWakeup m_wakeup;
};
