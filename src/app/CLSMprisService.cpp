#include "app/CLSMprisService.h"

#include "app/CLSMainWindow.h"
#include "app/CLSMprisPlayerAdaptor.h"
#include "app/CLSMprisRootAdaptor.h"
#include "midi/CLSMIDIData.h"
#include "player/CLSCommandRunner.h"
#include "player/CLSPlaybackFlow.h"
#include "player/CommandId.h"
#include "playlist/CLSPlayList.h"
#include "settings/CLSDRUVSettings.h"

#include <QApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

// What the last PropertiesChanged told, so only real changes are announced.
struct CLSMprisService::Published {
    QString status;
    QString loop;
    bool shuffle = false;
    double rate = 1.0;
    double volume = 1.0;
    MprisTrack track;
    bool canGoNext = false;
    bool canPlay = false;
    bool canPause = false;
    bool canSeek = false;
};

CLSMprisService::CLSMprisService(CLSMainWindow& window, const CLSMIDIData& engine,
                                 const CLSPlayList& playlist, const CLSDRUVSettings& settings)
    : m_window(window), m_engine(engine), m_playlist(playlist), m_settings(settings),
      m_published(std::make_unique<Published>(Current())) {
    new CLSMprisRootAdaptor(*this);
    m_player = new CLSMprisPlayerAdaptor(*this);
    m_window.Flow().SetListener([this](CLSPlaybackFlow::Change change) {
        if (change == CLSPlaybackFlow::Change::Seeked)
            Q_EMIT m_player->Seeked(Position());
        ScheduleAnnouncement();
    });
    connect(&m_window, &CLSMainWindow::PlayOrderChanged, this,
            &CLSMprisService::ScheduleAnnouncement);
}

CLSMprisService::~CLSMprisService() {
    m_window.Flow().SetListener(nullptr);
    if (m_busName.isEmpty())
        return;
    m_bus.unregisterObject(QString::fromLatin1(kObjectPath));
    m_bus.unregisterService(m_busName);
}

bool CLSMprisService::SessionBusExists() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    // Without an address the bus library would fall back to the runtime folder's socket, or
    // start a bus of its own through X11; only the first is wanted.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

bool CLSMprisService::Register(const QDBusConnection& bus) {
    if (!bus.isConnected() || !m_busName.isEmpty())
        return false;
    QDBusConnection connection(bus);
    const QString path = QString::fromLatin1(kObjectPath);
    if (!connection.registerObject(path, this, QDBusConnection::ExportAdaptors))
        return false;
    QString name = QString::fromLatin1(kBusName);
    if (!connection.registerService(name)) {
        name += QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid());
        if (!connection.registerService(name)) {
            connection.unregisterObject(path);
            return false;
        }
    }
    m_bus = connection;
    m_busName = name;
    *m_published = Current();
    return true;
}

QDBusError CLSMprisService::Busy() const {
    if (m_running || QApplication::activeModalWidget())
        return QDBusError(QDBusError::AccessDenied,
                          QStringLiteral("Druvel is waiting for an answer in a dialog."));
    return {};
}

bool CLSMprisService::Reply(const QDBusError& error) {
    if (!error.isValid())
        return false;
    if (calledFromDBus())
        sendErrorReply(error.name(), error.message());
    return true;
}

void CLSMprisService::Guarded(const std::function<void()>& action) {
    // An action may open a message box whose event loop delivers the next call meanwhile.
    struct Running {
        bool& flag;
        ~Running() { flag = false; }
    } running{m_running};
    m_running = true;
    action();
}

void CLSMprisService::RunCommand(int id) {
    Guarded([this, id] { m_window.Commands().Run(id); });
}

void CLSMprisService::Raise() {
    if (m_window.isMinimized())
        m_window.showNormal();
    m_window.show();
    m_window.raise();
    m_window.activateWindow();
}

void CLSMprisService::Quit() {
    RunCommand(kCmdExit);
}

void CLSMprisService::PlayPause() {
    RunCommand(kCmdPlayPause);
}

void CLSMprisService::Play() {
    if (m_window.Flow().GetState() != CLSPlaybackFlow::State::Playing)
        RunCommand(kCmdPlayPause);
}

void CLSMprisService::Pause() {
    // A play still opening its device counts: the pause then follows it.
    if (m_engine.IsPlaying() || m_window.Flow().IsOpening())
        RunCommand(kCmdPlayPause);
}

void CLSMprisService::Stop() {
    RunCommand(kCmdStop);
}

void CLSMprisService::Next() {
    if (CanGoNext())
        RunCommand(kCmdNext);
}

void CLSMprisService::Previous() {
    if (CanGoNext())
        RunCommand(kCmdPrevious);
}

void CLSMprisService::Seek(qint64 offsetUs) {
    if (!CanSeek())
        return;
    const CLSPlaybackFlow& flow = m_window.Flow();
    const std::optional<int> target =
        CLSMprisMapping::SeekTarget(flow.GetPosition(), offsetUs, m_engine.GetLength());
    if (!target) {
        Next(); // past the end of the song
        return;
    }
    Guarded([this, &target] { m_window.Flow().SeekChosen(*target); });
}

void CLSMprisService::SetPosition(const QString& trackId, qint64 positionUs) {
    // A position meant for a song that is no longer current is stale.
    if (!CanSeek() || trackId != FromUtf8(Track().trackId))
        return;
    if (const std::optional<int> target =
            CLSMprisMapping::PositionTarget(positionUs, m_engine.GetLength()))
        Guarded([this, &target] { m_window.Flow().SeekChosen(*target); });
}

QDBusError CLSMprisService::OpenUri(const QString& uri) {
    const QUrl url(uri);
    if (!url.isLocalFile())
        return QDBusError(QDBusError::NotSupported,
                          QStringLiteral("Only file: URIs can be opened: %1").arg(uri));
    const QString local = url.toLocalFile();
    if (!QFileInfo::exists(local))
        return QDBusError(QDBusError::InvalidArgs, QStringLiteral("No such file: %1").arg(local));
    // As if opened with the open dialog, then the first new row played as a double click does.
    Guarded([this, &local] {
        const unsigned before = m_playlist.Count();
        m_window.AddPaths({QFile::encodeName(local).toStdString()});
        if (m_playlist.Count() > before)
            m_window.Flow().PlayRow(static_cast<int>(before));
    });
    return {};
}

QString CLSMprisService::PlaybackStatus() const {
    return QString::fromLatin1(CLSMprisMapping::StatusText(m_window.Flow().GetState()));
}

QString CLSMprisService::LoopStatus() const {
    return QString::fromLatin1(CLSMprisMapping::LoopStatusOf(m_settings.PlayType));
}

void CLSMprisService::SetLoopStatus(const QString& status) {
    if (const std::optional<int> type = CLSMprisMapping::PlayTypeForLoop(status.toStdString()))
        RunCommand(kCmdOrderNormal + *type);
}

bool CLSMprisService::Shuffle() const {
    return CLSMprisMapping::ShuffleOf(m_settings.PlayType);
}

void CLSMprisService::SetShuffle(bool shuffle) {
    RunCommand(kCmdOrderNormal + CLSMprisMapping::PlayTypeForShuffle(shuffle, m_settings.PlayType));
}

double CLSMprisService::Rate() const {
    return CLSMprisMapping::RateOf(m_window.Flow().GetTempo());
}

void CLSMprisService::SetRate(double rate) {
    if (const std::optional<int> percent = CLSMprisMapping::TempoPercent(rate))
        m_window.Flow().SetTempo(*percent);
}

double CLSMprisService::Volume() const {
    return CLSMprisMapping::VolumeOf(m_window.Flow().GetVolume());
}

void CLSMprisService::SetVolume(double volume) {
    if (const std::optional<int> percent = CLSMprisMapping::VolumePercent(volume))
        m_window.Flow().SetVolume(*percent);
}

qint64 CLSMprisService::Position() const {
    return CLSMprisMapping::MsToUs(std::max(0, m_window.Flow().GetPosition()));
}

MprisTrack CLSMprisService::Track() const {
    return CLSMprisMapping::TrackOf(m_engine, m_playlist.GetCurrent());
}

QVariantMap CLSMprisService::Metadata() const {
    const MprisTrack track = Track();
    QVariantMap map;
    map.insert(QStringLiteral("mpris:trackid"),
               QVariant::fromValue(QDBusObjectPath(FromUtf8(track.trackId))));
    if (!m_engine.IsLoaded())
        return map;
    map.insert(QStringLiteral("mpris:length"), QVariant::fromValue<qint64>(track.lengthUs));
    map.insert(QStringLiteral("xesam:title"), FromUtf8(track.title));
    if (!track.artists.empty()) {
        QStringList artists;
        for (const std::string& artist : track.artists)
            artists << FromUtf8(artist);
        map.insert(QStringLiteral("xesam:artist"), artists);
    }
    if (!track.url.empty())
        map.insert(QStringLiteral("xesam:url"), FromUtf8(track.url));
    return map;
}

bool CLSMprisService::CanGoNext() const {
    return m_playlist.Count() > 0; // the menu's rule for previous and next
}

bool CLSMprisService::CanPlay() const {
    return m_playlist.Count() > 0;
}

bool CLSMprisService::CanPause() const {
    return m_engine.IsLoaded();
}

bool CLSMprisService::CanSeek() const {
    return m_engine.IsLoaded() && m_engine.GetLength() > 0;
}

CLSMprisService::Published CLSMprisService::Current() const {
    Published now;
    now.status = PlaybackStatus();
    now.loop = LoopStatus();
    now.shuffle = Shuffle();
    now.rate = Rate();
    now.volume = Volume();
    now.track = Track();
    now.canGoNext = CanGoNext();
    now.canPlay = CanPlay();
    now.canPause = CanPause();
    now.canSeek = CanSeek();
    return now;
}

void CLSMprisService::ScheduleAnnouncement() {
    // A seek stops and starts again, a next song stops, loads and starts: one announcement of
    // where it ends up, once the window is idle.
    if (m_announcing)
        return;
    m_announcing = true;
    QTimer::singleShot(0, this, [this] { Announce(); });
}

void CLSMprisService::Announce() {
    m_announcing = false;
    const Published now = Current();
    Published& was = *m_published;
    QVariantMap changed;
    const auto note = [&changed](const char* name, auto value, auto old) {
        if (value != old)
            changed.insert(QString::fromLatin1(name), QVariant::fromValue(value));
    };
    note("PlaybackStatus", now.status, was.status);
    note("LoopStatus", now.loop, was.loop);
    note("Shuffle", now.shuffle, was.shuffle);
    note("Rate", now.rate, was.rate);
    note("Volume", now.volume, was.volume);
    note("CanGoNext", now.canGoNext, was.canGoNext);
    note("CanGoPrevious", now.canGoNext, was.canGoNext);
    note("CanPlay", now.canPlay, was.canPlay);
    note("CanPause", now.canPause, was.canPause);
    note("CanSeek", now.canSeek, was.canSeek);
    if (now.track != was.track)
        changed.insert(QStringLiteral("Metadata"), Metadata());
    was = now;
    if (changed.isEmpty() || m_busName.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        QString::fromLatin1(kObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << QString::fromLatin1(kPlayerInterface) << changed << QStringList();
    m_bus.send(signal);
}
