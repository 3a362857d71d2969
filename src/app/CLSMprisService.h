#pragma once

#include "player/CLSMprisMapping.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <memory>

class CLSDRUVSettings;
class CLSMIDIData;
class CLSMainWindow;
class CLSMprisPlayerAdaptor;
class CLSPlayList;

// The player on the session bus as the desktop's media players are: media keys, panel applets
// and playerctl reach it here. Every call runs the window's own commands (or the flow where the
// window calls it directly), so the rules of the toolbar and the menus hold for them too; while
// a modal dialog is open they are refused, as the window refuses its own input.
class CLSMprisService : public QObject, protected QDBusContext {
    Q_OBJECT
public:
    static constexpr const char* kObjectPath = "/org/mpris/MediaPlayer2";
    static constexpr const char* kBusName = "org.mpris.MediaPlayer2.druvel";
    static constexpr const char* kPlayerInterface = "org.mpris.MediaPlayer2.Player";

    CLSMprisService(CLSMainWindow& window, const CLSMIDIData& engine, const CLSPlayList& playlist,
                    const CLSDRUVSettings& settings);
    ~CLSMprisService() override;
    CLSMprisService(const CLSMprisService&) = delete;
    CLSMprisService& operator=(const CLSMprisService&) = delete;

    // True when a session bus can be reached without starting one.
    static bool SessionBusExists();
    // Exports the object and takes the bus name (with ".instance<pid>" when another player has
    // it). False, quietly, when the bus refuses.
    bool Register(const QDBusConnection& bus);
    // Empty until registered.
    QString BusName() const { return m_busName; }

    // ---- For the adaptors ----
    // A refusal when a modal dialog (or a command of the bus's own) is still open.
    QDBusError Busy() const;
    // Sends an error back to the call being answered; true when there was one. (The bus sets
    // the call's context on this object, not on its adaptors.)
    bool Reply(const QDBusError& error);
    void Raise();
    void Quit();
    void PlayPause();
    void Play();
    void Pause();
    void Stop();
    void Next();
    void Previous();
    void Seek(qint64 offsetUs);
    void SetPosition(const QString& trackId, qint64 positionUs);
    QDBusError OpenUri(const QString& uri);

    QString PlaybackStatus() const;
    QString LoopStatus() const;
    void SetLoopStatus(const QString& status);
    bool Shuffle() const;
    void SetShuffle(bool shuffle);
    double Rate() const;
    void SetRate(double rate);
    double Volume() const;
    void SetVolume(double volume);
    qint64 Position() const;
    QVariantMap Metadata() const;
    bool CanGoNext() const;
    bool CanPlay() const;
    bool CanPause() const;
    bool CanSeek() const;

private:
    struct Published;

    MprisTrack Track() const;
    void ScheduleAnnouncement();
    void Announce();
    Published Current() const;
    void Guarded(const std::function<void()>& action);
    void RunCommand(int id);

    CLSMainWindow& m_window;
    const CLSMIDIData& m_engine;
    const CLSPlayList& m_playlist;
    const CLSDRUVSettings& m_settings;
    CLSMprisPlayerAdaptor* m_player = nullptr; // a child: Qt deletes it with this object
    QDBusConnection m_bus{QString()};
    QString m_busName;
    std::unique_ptr<Published> m_published;
    bool m_announcing = false;
    bool m_running = false;
};
