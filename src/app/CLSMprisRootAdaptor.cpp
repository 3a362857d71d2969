#include "app/CLSMprisRootAdaptor.h"

#include "app/CLSMprisService.h"

CLSMprisRootAdaptor::CLSMprisRootAdaptor(CLSMprisService& service)
    : QDBusAbstractAdaptor(&service), m_service(service) {}

QStringList CLSMprisRootAdaptor::SupportedMimeTypes() const {
    return {QStringLiteral("audio/midi"), QStringLiteral("audio/x-midi"),
            QStringLiteral("audio/sp-midi"), QStringLiteral("audio/x-mpegurl"),
            QStringLiteral("audio/mpegurl")};
}

void CLSMprisRootAdaptor::Raise() {
    m_service.Raise(); // also while a dialog is open: the user is looking for it
}

void CLSMprisRootAdaptor::Quit() {
    if (!m_service.Reply(m_service.Busy()))
        m_service.Quit();
}
