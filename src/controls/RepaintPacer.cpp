#include "controls/RepaintPacer.h"

#include "controls/RepaintRequest.h"

#include <QCoreApplication>

#include <algorithm>
#include <atomic>

namespace {

QPointer<RepaintPacer>& TheInstance() {
    static QPointer<RepaintPacer> instance;
    return instance;
}

std::atomic<bool> g_pacing{false};

} // namespace

RepaintPacer& RepaintPacer::Instance() {
    QPointer<RepaintPacer>& instance = TheInstance();
    if (!instance)
        instance = new RepaintPacer(QCoreApplication::instance()); // the application owns it
    return *instance;
}

void RepaintPacer::Release(const QWidget* widget) {
    if (RepaintPacer* pacer = TheInstance().data())
        pacer->Detach(widget);
}

RepaintPacer::RepaintPacer(QObject* parent) : QObject(parent) {
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(kFrameMs);
    connect(&m_timer, &QTimer::timeout, this, &RepaintPacer::Frame);
}

RepaintPacer::~RepaintPacer() {
    g_pacing.store(false);
}

bool RepaintPacer::Pacing() noexcept {
    return g_pacing.load();
}

void RepaintPacer::AddRequest(RepaintRequest* request) {
    m_requests.push_back(request);
}

void RepaintPacer::RemoveRequest(const RepaintRequest* request) {
    if (RepaintPacer* pacer = TheInstance().data())
        std::erase(pacer->m_requests, request);
}

void RepaintPacer::Start() {
    if (m_timer.isActive())
        return;
    m_timer.start();
    g_pacing.store(true);
}

void RepaintPacer::Stop() {
    m_timer.stop();
    g_pacing.store(false);
    // A request posted while the frames still ran woke no one.
    ServeRequests();
}

void RepaintPacer::ServeRequests() {
    for (RepaintRequest* request : m_requests)
        request->Serve();
}

void RepaintPacer::Attach(QWidget* widget, TakeDirty take) {
    Detach(widget);
    m_displays.push_back({widget, std::move(take)});
    Start();
}

void RepaintPacer::Detach(const QWidget* widget) {
    const auto found = std::find_if(m_displays.begin(), m_displays.end(),
                                    [widget](const Display& d) { return d.widget == widget; });
    if (found == m_displays.end())
        return;
    const Display display = *found;
    m_displays.erase(found);
    if (m_displays.empty())
        Stop();
    if (const QRect dirty = display.take(); display.widget && !dirty.isEmpty())
        display.widget->update(dirty);
}

bool RepaintPacer::IsAttached(const QWidget* widget) const {
    return std::any_of(m_displays.begin(), m_displays.end(),
                       [widget](const Display& d) { return d.widget == widget; });
}

void RepaintPacer::Frame() {
    std::erase_if(m_displays, [](const Display& d) { return d.widget.isNull(); });
    if (m_displays.empty()) {
        Stop();
        return;
    }
    for (const Display& display : m_displays)
        if (const QRect dirty = display.take(); !dirty.isEmpty())
            display.widget->update(dirty);
    ServeRequests();
}
