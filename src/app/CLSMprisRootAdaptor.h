#pragma once

#include <QDBusAbstractAdaptor>
#include <QStringList>

class CLSMprisService;

// org.mpris.MediaPlayer2: who the player is and what it opens.
class CLSMprisRootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ CanQuit)
    Q_PROPERTY(bool CanRaise READ CanRaise)
    Q_PROPERTY(bool HasTrackList READ HasTrackList)
    Q_PROPERTY(QString Identity READ Identity)
    Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ SupportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ SupportedMimeTypes)
public:
    // A child of the service, exported with it.
    explicit CLSMprisRootAdaptor(CLSMprisService& service);

    bool CanQuit() const { return true; }
    bool CanRaise() const { return true; }
    bool HasTrackList() const { return false; }
    QString Identity() const { return QStringLiteral("Druvel"); }
    QString DesktopEntry() const { return QStringLiteral("druvel"); }
    QStringList SupportedUriSchemes() const { return {QStringLiteral("file")}; }
    // The MIME types the desktop entry declares.
    QStringList SupportedMimeTypes() const;

public Q_SLOTS:
    void Raise();
    void Quit();

private:
    CLSMprisService& m_service;
};
