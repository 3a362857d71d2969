#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <functional>
#include <memory>

// Runs a callback on the GUI thread when any thread asks: a drawing or position thread asks
// for a repaint this way. Posting allocates nothing and takes no lock, many requests before
// the GUI thread gets round to them run the callback once, and the hand-off goes through an
// eventfd, which ThreadSanitizer understands (Qt's own posted events it cannot see).
class CrossThreadWakeup : public QObject {
public:
    // Create on the thread that is to run the callback.
    explicit CrossThreadWakeup(std::function<void()> onWake, QObject* parent = nullptr);
    ~CrossThreadWakeup() override;

    void Post() noexcept;

private:
    void Drain();

    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::function<void()> m_onWake;
};
