#include "controls/RepaintRequest.h"

#include "controls/RepaintPacer.h"

RepaintRequest::RepaintRequest(QWidget* widget) : m_widget(widget), m_wakeup([this] { Serve(); }) {
    RepaintPacer::Instance().AddRequest(this);
}

RepaintRequest::~RepaintRequest() {
    RepaintPacer::RemoveRequest(this);
}

void RepaintRequest::Post() noexcept {
    // Either the pacer still sees the request in a frame, or it has stopped and we wake the
    // GUI thread: it serves what is pending after it says it stopped.
    m_pending.store(true);
    if (!RepaintPacer::Pacing())
        m_wakeup.Post();
}

void RepaintRequest::Serve() {
    if (m_pending.exchange(false))
        m_widget->update();
}
