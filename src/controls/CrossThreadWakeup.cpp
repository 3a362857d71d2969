#include "controls/CrossThreadWakeup.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

CrossThreadWakeup::CrossThreadWakeup(std::function<void()> onWake, QObject* parent)
    : QObject(parent), m_onWake(std::move(onWake)) {
    m_fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_fd < 0)
        return;
    m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] { Drain(); });
}

CrossThreadWakeup::~CrossThreadWakeup() {
    m_notifier.reset();
    if (m_fd >= 0)
        ::close(m_fd);
}

void CrossThreadWakeup::Post() noexcept {
    if (m_fd >= 0) {
        const std::uint64_t one = 1;
        // Only a counter at its limit refuses, and then a wake-up is pending anyway.
        [[maybe_unused]] const ssize_t written = ::write(m_fd, &one, sizeof one);
        return;
    }
    // Without an eventfd (never on Linux in practice) fall back to a queued call.
    QMetaObject::invokeMethod(
        this, [this] { m_onWake(); }, Qt::QueuedConnection);
}

void CrossThreadWakeup::Drain() {
    std::uint64_t count = 0;
    if (::read(m_fd, &count, sizeof count) == sizeof count && count > 0)
        m_onWake();
}
