#include "app/CLSMprisPlayerAdaptor.h"

#include "app/CLSMprisService.h"

CLSMprisPlayerAdaptor::CLSMprisPlayerAdaptor(CLSMprisService& service)
    : QDBusAbstractAdaptor(&service), m_service(service) {}

bool CLSMprisPlayerAdaptor::Refused() {
    return m_service.Reply(m_service.Busy());
}

QString CLSMprisPlayerAdaptor::PlaybackStatus() const {
    return m_service.PlaybackStatus();
}

QString CLSMprisPlayerAdaptor::LoopStatus() const {
    return m_service.LoopStatus();
}

void CLSMprisPlayerAdaptor::SetLoopStatus(const QString& status) {
    if (!Refused())
        m_service.SetLoopStatus(status);
}

double CLSMprisPlayerAdaptor::Rate() const {
    return m_service.Rate();
}

void CLSMprisPlayerAdaptor::SetRate(double rate) {
    if (!Refused())
        m_service.SetRate(rate);
}

bool CLSMprisPlayerAdaptor::Shuffle() const {
    return m_service.Shuffle();
}

void CLSMprisPlayerAdaptor::SetShuffle(bool shuffle) {
    if (!Refused())
        m_service.SetShuffle(shuffle);
}

QVariantMap CLSMprisPlayerAdaptor::Metadata() const {
    return m_service.Metadata();
}

double CLSMprisPlayerAdaptor::Volume() const {
    return m_service.Volume();
}

void CLSMprisPlayerAdaptor::SetVolume(double volume) {
    if (!Refused())
        m_service.SetVolume(volume);
}

qlonglong CLSMprisPlayerAdaptor::Position() const {
    return m_service.Position();
}

double CLSMprisPlayerAdaptor::MinimumRate() const {
    return CLSMprisMapping::kMinimumRate;
}

double CLSMprisPlayerAdaptor::MaximumRate() const {
    return CLSMprisMapping::kMaximumRate;
}

bool CLSMprisPlayerAdaptor::CanGoNext() const {
    return m_service.CanGoNext();
}

bool CLSMprisPlayerAdaptor::CanPlay() const {
    return m_service.CanPlay();
}

bool CLSMprisPlayerAdaptor::CanPause() const {
    return m_service.CanPause();
}

bool CLSMprisPlayerAdaptor::CanSeek() const {
    return m_service.CanSeek();
}

void CLSMprisPlayerAdaptor::Next() {
    if (!Refused())
        m_service.Next();
}

void CLSMprisPlayerAdaptor::Previous() {
    if (!Refused())
        m_service.Previous();
}

void CLSMprisPlayerAdaptor::Pause() {
    if (!Refused())
        m_service.Pause();
}

void CLSMprisPlayerAdaptor::PlayPause() {
    if (!Refused())
        m_service.PlayPause();
}

void CLSMprisPlayerAdaptor::Stop() {
    if (!Refused())
        m_service.Stop();
}

void CLSMprisPlayerAdaptor::Play() {
    if (!Refused())
        m_service.Play();
}

void CLSMprisPlayerAdaptor::Seek(qlonglong offset) {
    if (!Refused())
        m_service.Seek(offset);
}

void CLSMprisPlayerAdaptor::SetPosition(const QDBusObjectPath& trackId, qlonglong position) {
    if (!Refused())
        m_service.SetPosition(trackId.path(), position);
}

void CLSMprisPlayerAdaptor::OpenUri(const QString& uri) {
    if (!Refused())
        m_service.Reply(m_service.OpenUri(uri));
}
