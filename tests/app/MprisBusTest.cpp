// The desktop's media-player interface on a private session bus, against the real window
// playing into a capture file. The MprisBus ctest runs this suite under dbus-run-session; run
// anywhere else it skips, so it never takes a name on the user's own bus.
#include "app/CLSMainWindow.h"
#include "app/CLSMprisService.h"
#include "backends/MidiOutDevices.h"
#include "clock/SystemClock.h"
#include "controls/CLSWndTrackBar.h"
#include "fixtures/TestPaths.h"
#include "midi/CLSMIDIData.h"
#include "player/CLSCommandRunner.h"
#include "player/CLSMainLayout.h"
#include "player/CLSPlaybackFlow.h"
#include "player/CommandId.h"
#include "playlist/CLSPlayList.h"
#include "settings/CLSDRUVSettings.h"

#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

int argc = 1;
char arg0[] = "test_app";
char* argv[] = {arg0, nullptr};

const QString kPath = QString::fromLatin1(CLSMprisService::kObjectPath);
const QString kRoot = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const std::string kSong = std::string(DRUVEL_TEST_DATA) + "/karaoke_xf.mid";
const std::string kOtherSong = std::string(DRUVEL_TEST_DATA) + "/two_tracks.mid";

// What the player announced, as a client on the bus sees it.
class Announcements : public QObject {
    Q_OBJECT
public:
    QList<QVariantMap> changes;
    QList<qlonglong> seeks;

    QVariant Last(const QString& name) const {
        for (auto it = changes.crbegin(); it != changes.crend(); ++it)
            if (it->contains(name))
                return it->value(name);
        return {};
    }

public Q_SLOTS:
    void Changed(const QString& interface, const QVariantMap& changed, const QStringList&) {
        if (interface == QStringLiteral("org.mpris.MediaPlayer2.Player"))
            changes << changed;
    }
    void Seeked(qlonglong position) { seeks << position; }
};

class MprisBus : public ::testing::Test {
protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("DRUVEL_PRIVATE_BUS"))
            GTEST_SKIP() << "needs the private bus of the MprisBus ctest (dbus-run-session)";
        CLSMIDIData::PlaybackSetup setup;
        setup.openOutput = [this](int, std::unique_ptr<MidiOutput>& out) {
            return MidiOutDevices::CreateFromArgument("capture:" + dir.File("capture.txt"),
                                                      SystemClock::Instance(), out);
        };
        engine.SetPlaybackSetup(std::move(setup));
        window = std::make_unique<CLSMainWindow>(settings, engine, playlist);
        window->show();
        QApplication::processEvents();
        client = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("client")));
        ASSERT_TRUE(client->isConnected());
    }

    void TearDown() override {
        service.reset();
        window.reset();
        if (client)
            QDBusConnection::disconnectFromBus(QStringLiteral("client"));
    }

    void Register() {
        service = std::make_unique<CLSMprisService>(*window, engine, playlist, settings);
        ASSERT_TRUE(service->Register(QDBusConnection::sessionBus()));
        client->connect(service->BusName(), kPath, kProperties, QStringLiteral("PropertiesChanged"),
                        &heard, SLOT(Changed(QString, QVariantMap, QStringList)));
        client->connect(service->BusName(), kPath, kPlayer, QStringLiteral("Seeked"), &heard,
                        SLOT(Seeked(qlonglong)));
    }

    // Through the bus daemon; the window answers in the event loop the call runs meanwhile.
    QDBusMessage Call(const QString& interface, const QString& method,
                      const QVariantList& arguments = {}) {
        QDBusMessage call =
            QDBusMessage::createMethodCall(service->BusName(), kPath, interface, method);
        call.setArguments(arguments);
        return client->call(call, QDBus::BlockWithGui);
    }
    void Player(const char* method, const QVariantList& arguments = {}) {
        const QDBusMessage reply = Call(kPlayer, QString::fromLatin1(method), arguments);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage)
            << method << " " << reply.errorMessage().toStdString();
    }
    QVariant Get(const QString& interface, const char* name) {
        const QDBusMessage reply =
            Call(kProperties, QStringLiteral("Get"), {interface, QString::fromLatin1(name)});
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << name;
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }
    QVariantMap Metadata() {
        return qdbus_cast<QVariantMap>(Get(kPlayer, "Metadata").value<QDBusArgument>());
    }
    void Set(const char* name, const QVariant& value) {
        const QDBusMessage reply =
            Call(kProperties, QStringLiteral("Set"),
                 {kPlayer, QString::fromLatin1(name), QVariant::fromValue(QDBusVariant(value))});
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << name;
    }
    QString Status() { return Get(kPlayer, "PlaybackStatus").toString(); }

    QApplication app{argc, argv};
    TempDir dir;
    CLSDRUVSettings settings;
    CLSMIDIData engine;
    CLSPlayList playlist;
    std::unique_ptr<CLSMainWindow> window;
    std::unique_ptr<CLSMprisService> service;
    std::unique_ptr<QDBusConnection> client;
    Announcements heard;
};

TEST_F(MprisBus, ThePlayerNamesItselfAsItsDesktopEntryDoes) {
    Register();
    EXPECT_EQ(service->BusName(), QStringLiteral("org.mpris.MediaPlayer2.druvel"));
    EXPECT_EQ(Get(kRoot, "Identity").toString(), QStringLiteral("Druvel"));
    EXPECT_EQ(Get(kRoot, "DesktopEntry").toString(), QStringLiteral("druvel"));
    EXPECT_TRUE(Get(kRoot, "CanQuit").toBool());
    EXPECT_TRUE(Get(kRoot, "CanRaise").toBool());
    EXPECT_FALSE(Get(kRoot, "HasTrackList").toBool());
    EXPECT_EQ(Get(kRoot, "SupportedUriSchemes").toStringList(),
              QStringList{QStringLiteral("file")});

    std::ifstream desktop(std::string(DRUVEL_TEST_DATA) +
                          "/../../resources/desktop/druvel.desktop");
    std::string line;
    QStringList declared;
    while (std::getline(desktop, line))
        if (line.rfind("MimeType=", 0) == 0)
            declared = QString::fromStdString(line.substr(9)).split(u';', Qt::SkipEmptyParts);
    ASSERT_FALSE(declared.isEmpty());
    EXPECT_EQ(Get(kRoot, "SupportedMimeTypes").toStringList(), declared);

    EXPECT_EQ(Status(), QStringLiteral("Stopped"));
    EXPECT_FALSE(Get(kPlayer, "CanPlay").toBool()) << "empty playlist";
    EXPECT_EQ(Metadata().value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path(),
              QString::fromLatin1(CLSMprisMapping::kNoTrack));
}

TEST_F(MprisBus, ASecondPlayerTakesAnInstanceName) {
    ASSERT_TRUE(client->registerService(QString::fromLatin1(CLSMprisService::kBusName)));
    Register();
    EXPECT_EQ(service->BusName(), QStringLiteral("org.mpris.MediaPlayer2.druvel.instance%1")
                                      .arg(QCoreApplication::applicationPid()));
    EXPECT_EQ(Status(), QStringLiteral("Stopped"));
}

TEST_F(MprisBus, PlayPauseAndVolumeRoundTrip) {
    window->AddPaths({kSong});
    Register();
    EXPECT_TRUE(Get(kPlayer, "CanPlay").toBool());

    Player("PlayPause");
    EXPECT_EQ(Status(), QStringLiteral("Playing"));
    QTRY_VERIFY(engine.IsPlaying()); // once the output's opened notice is back
    QTRY_COMPARE(heard.Last(QStringLiteral("PlaybackStatus")).toString(),
                 QStringLiteral("Playing"));

    const QVariantMap meta = Metadata();
    EXPECT_EQ(meta.value(QStringLiteral("xesam:title")).toString(), QStringLiteral("春の歌"));
    EXPECT_EQ(meta.value(QStringLiteral("xesam:artist")).toStringList(),
              QStringList{QStringLiteral("歌手")});
    EXPECT_EQ(meta.value(QStringLiteral("mpris:length")).toLongLong(), 24'000'000);
    EXPECT_EQ(meta.value(QStringLiteral("xesam:url")).toString(),
              QUrl::fromLocalFile(QString::fromStdString(kSong))
                  .adjusted(QUrl::NormalizePathSegments)
                  .toString());
    EXPECT_EQ(meta.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path(),
              QStringLiteral("/org/druvel/track/0"));

    // Paused only once the position has moved; a pause keeps it.
    QTRY_VERIFY(window->Flow().GetPosition() > 0);
    Player("Pause");
    EXPECT_EQ(Status(), QStringLiteral("Paused"));
    EXPECT_FALSE(engine.IsPlaying());
    const qlonglong paused = Get(kPlayer, "Position").toLongLong();
    EXPECT_EQ(paused, window->Flow().GetPosition() * 1000LL);
    Player("Pause");
    EXPECT_EQ(Status(), QStringLiteral("Paused")) << "pausing twice is no play";

    Set("Volume", 0.5);
    auto* slider = static_cast<CLSWndTrackBar*>(window->Child(kChildVolumeSlider));
    EXPECT_EQ(slider->GetPos(), 50);
    EXPECT_EQ(static_cast<QLabel*>(window->Child(kChildVolumeLabel))->text(),
              QStringLiteral("音量： 50%"));
    EXPECT_EQ(engine.GetVolumeLeft(), 50);
    EXPECT_DOUBLE_EQ(Get(kPlayer, "Volume").toDouble(), 0.5);
    QTRY_COMPARE(heard.Last(QStringLiteral("Volume")).toDouble(), 0.5);

    // A stop given while the pause's meters still fall runs once they are down.
    Player("Stop");
    QTRY_COMPARE(Status(), QStringLiteral("Stopped"));
    EXPECT_EQ(Get(kPlayer, "Position").toLongLong(), 0);
}

TEST_F(MprisBus, SeeksAreToldAndStalePositionsIgnored) {
    window->AddPaths({kSong});
    Register();
    Player("Seek", {QVariant::fromValue<qlonglong>(3'000'000)});
    EXPECT_EQ(window->Flow().GetPosition(), 3000);
    QTRY_COMPARE(heard.seeks.size(), 1);
    EXPECT_EQ(heard.seeks.front(), 3'000'000);

    Player("SetPosition",
           {QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/druvel/track/9"))),
            QVariant::fromValue<qlonglong>(1'000'000)});
    EXPECT_EQ(window->Flow().GetPosition(), 3000) << "meant for another song";
    Player("SetPosition",
           {QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/druvel/track/0"))),
            QVariant::fromValue<qlonglong>(1'000'000)});
    EXPECT_EQ(window->Flow().GetPosition(), 1000);

    // Past the end is the next song (the only one again), from its start.
    Player("Seek", {QVariant::fromValue<qlonglong>(60'000'000)});
    EXPECT_EQ(Status(), QStringLiteral("Playing"));
    EXPECT_LT(window->Flow().GetPosition(), 1000);
}

TEST_F(MprisBus, OpenUriAddsAndPlaysLocalFilesOnly) {
    window->AddPaths({kSong});
    Register();
    const QDBusMessage web =
        Call(kPlayer, QStringLiteral("OpenUri"), {QStringLiteral("https://example.org/a.mid")});
    EXPECT_EQ(web.type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(web.errorName(), QStringLiteral("org.freedesktop.DBus.Error.NotSupported"));
    const QDBusMessage missing =
        Call(kPlayer, QStringLiteral("OpenUri"), {QStringLiteral("file:///no/such/song.mid")});
    EXPECT_EQ(missing.errorName(), QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"));
    EXPECT_EQ(playlist.Count(), 1u);

    Player("OpenUri", {QUrl::fromLocalFile(QString::fromStdString(kOtherSong)).toString()});
    EXPECT_EQ(playlist.Count(), 2u);
    EXPECT_EQ(playlist.GetCurrent(), 1u);
    EXPECT_EQ(Status(), QStringLiteral("Playing"));
    EXPECT_EQ(Metadata().value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path(),
              QStringLiteral("/org/druvel/track/1"));
    QTRY_VERIFY(heard.Last(QStringLiteral("Metadata")).isValid());
}

TEST_F(MprisBus, PlayOrderIsLoopAndShuffleBothWays) {
    Register();
    Set("LoopStatus", QStringLiteral("Track"));
    EXPECT_EQ(settings.PlayType, 1);
    Set("Shuffle", true);
    EXPECT_EQ(settings.PlayType, 3);
    EXPECT_EQ(Get(kPlayer, "LoopStatus").toString(), QStringLiteral("Playlist"));
    // The menu's own command is announced too.
    window->Commands().Run(kCmdOrderNormal);
    QTRY_COMPARE(heard.Last(QStringLiteral("Shuffle")).toBool(), false);
    EXPECT_EQ(heard.Last(QStringLiteral("LoopStatus")).toString(), QStringLiteral("None"));
}

TEST_F(MprisBus, CommandsWaitWhileADialogIsOpen) {
    window->AddPaths({kSong});
    Register();
    QMessageBox box(QMessageBox::Information, QStringLiteral("Druvel"), QStringLiteral("x"),
                    QMessageBox::Ok, window.get());
    box.setWindowModality(Qt::ApplicationModal);
    box.show();
    QApplication::processEvents();
    const QDBusMessage refused = Call(kPlayer, QStringLiteral("PlayPause"));
    EXPECT_EQ(refused.type(), QDBusMessage::ErrorMessage);
    EXPECT_FALSE(engine.IsPlaying());
    box.close();
    QApplication::processEvents();
    Player("PlayPause");
    QTRY_VERIFY(engine.IsPlaying());
}

// Outside a bus session nothing is started: the player runs as it did without one.
TEST(MprisSessionBus, IsUsedOnlyWhenOneIsThere) {
    const QByteArray address = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    TempDir dir;
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(dir.Path()));
    const bool withoutSocket = CLSMprisService::SessionBusExists();
    WriteFileBytes(dir.File("bus"), "");
    const bool withSocket = CLSMprisService::SessionBusExists();
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
    qunsetenv("XDG_RUNTIME_DIR");
    const bool withAddress = CLSMprisService::SessionBusExists();
    address.isNull() ? qunsetenv("DBUS_SESSION_BUS_ADDRESS")
                     : qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    runtime.isNull() ? qunsetenv("XDG_RUNTIME_DIR") : qputenv("XDG_RUNTIME_DIR", runtime);
    EXPECT_FALSE(withoutSocket);
    EXPECT_TRUE(withSocket);
    EXPECT_TRUE(withAddress);
}

// A bus that cannot be reached: the service quietly stays off the bus.
TEST(MprisSessionBus, AnUnreachableBusIsNoError) {
    QApplication app{argc, argv};
    TempDir dir;
    CLSDRUVSettings settings;
    CLSMIDIData engine;
    CLSPlayList playlist;
    CLSMainWindow window(settings, engine, playlist);
    CLSMprisService service(window, engine, playlist, settings);
    const QDBusConnection nowhere = QDBusConnection::connectToBus(
        QStringLiteral("unix:path=") + QString::fromStdString(dir.File("none")),
        QStringLiteral("nowhere"));
    EXPECT_FALSE(service.Register(nowhere));
    EXPECT_TRUE(service.BusName().isEmpty());
    window.Flow().StepVolume(-10); // changes announced to nobody
    QApplication::processEvents();
    QDBusConnection::disconnectFromBus(QStringLiteral("nowhere"));
}

} // namespace

#include "MprisBusTest.moc"
