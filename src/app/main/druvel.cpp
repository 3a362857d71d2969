// The player's entry: settings, single instance, the window, the playlist of the last run and
// the command line, the event loop, and the settings written at a normal end.
#include "app/CLSInstanceChannel.h"
#include "app/CLSMainWindow.h"
#include "app/CLSMprisService.h"
#include "app/DruvelApplication.h"
#include "app/FirstFrameReport.h"
#include "app/MessageBoxReporter.h"
#include "app/TerminationSignals.h"
#include "backends/MidiOutDevices.h"
#include "backends/PlatformBackends.h"
#include "clock/SystemClock.h"
#include "controls/ControlFonts.h"
#include "l10n/Translations.h"
#include "midi/CLSMIDIData.h"
#include "player/CLSPlaybackFlow.h"
#include "player/CommandLinePaths.h"
#include "playlist/CLSPlayList.h"
#include "settings/CLSDRUVSettings.h"
#include "settings/SettingsLocation.h"
#include "synth/SoundFontChoice.h"
#include "synth/SynthWarmUp.h"

#include <QDateTime>

#include <memory>
#include <optional>

namespace {

// DRUVEL_MIDI_OUT (a device number or capture:FILE) replaces the chosen output, so the real
// window can be checked end to end on a machine without sound.
void ApplyOutputOverride(CLSMIDIData& engine) {
    const QByteArray value = qgetenv("DRUVEL_MIDI_OUT");
    if (value.isEmpty())
        return;
    CLSMIDIData::PlaybackSetup setup;
    setup.openOutput = MidiOutDevices::RunFactory(value.toStdString(), SystemClock::Instance());
    engine.SetPlaybackSetup(std::move(setup));
}

bool HandOverToRunningInstance(const std::vector<std::string>& paths) {
    return CLSInstanceChannel::Send(CLSInstanceChannel::DefaultName(), paths) ==
           CLSInstanceChannel::HandOver::Handed;
}

} // namespace

int main(int argc, char** argv) {
    InstallPlatformBackends();
    DruvelApplication app(argc, argv);
    DruvelApplication::SetIdentity();
    Translations translations(MessagesLocale::FromProcessEnvironment());
    translations.InstallIntoApplication();
    MessageBoxReporter reporter;
    ControlFonts::RegisterSubstitutions();

    const std::vector<std::string> paths = CommandLinePaths(argc, argv);
    const std::string iniPath = SettingsLocation::IniPath();
    // Constructed in the order the program relies on; destroyed in reverse.
    CLSDRUVSettings settings;
    CLSMIDIData engine;
    CLSPlayList playlist;
    std::optional<SynthWarmUp> warmUp;
    std::unique_ptr<CLSMainWindow> window;
    std::optional<FirstFrameReport> firstFrame;
    std::unique_ptr<CLSMprisService> mpris; // goes before the window it drives
    CLSInstanceChannel channel;
    TerminationSignals termination;
    bool handedOver = false;
    ApplyOutputOverride(engine);

    const int code = app.Run([&] {
        settings.Load(iniPath.c_str());
        SoundFontChoice::SetUserChoice(settings.SoundFont.Text());
        if (!settings.GetFlag(CLSDRUVSettings::PermitMultiExecute)) {
            if (HandOverToRunningInstance(paths)) {
                handedOver = true;
                return false;
            }
            const bool listening =
                channel.Listen(CLSInstanceChannel::DefaultName(), [&](const std::string& path) {
                    if (window)
                        window->AddHandedPath(path);
                });
            // Another instance started at the same moment and listens now: hand over to it.
            if (!listening && HandOverToRunningInstance(paths)) {
                handedOver = true;
                return false;
            }
        }
        playlist.SetArchiveDialogSize(settings.ArcOpenDlgWidth, settings.ArcOpenDlgHeight);
        const bool maximised = settings.GetFlag(CLSDRUVSettings::Show);
        window = std::make_unique<CLSMainWindow>(settings, engine, playlist);
        window->Flow().Random().Seed(static_cast<unsigned>(QDateTime::currentMSecsSinceEpoch()));
        window->ShowAsSaved(maximised);
        firstFrame.emplace(*window, "DRUVEL_REPORT_STARTUP");
        // The SoundFont loads behind the window, so the first play does not freeze it.
        const bool synthesizer = qEnvironmentVariableIsEmpty("DRUVEL_MIDI_OUT") &&
                                 (settings.MidiDeviceID == MidiOutDevices::kSynthesizer ||
                                  settings.MidiDeviceID == MidiOutDevices::kDefaultDevice);
        if (synthesizer)
            warmUp.emplace();
        window->RestorePlayList();
        window->AddPaths(paths);
        // Media keys and desktop controls; without a session bus the player is as it was.
        if (CLSMprisService::SessionBusExists()) {
            mpris = std::make_unique<CLSMprisService>(*window, engine, playlist, settings);
            if (!mpris->Register(QDBusConnection::sessionBus()))
                mpris.reset();
        }
        QObject::connect(&app, &QGuiApplication::lastWindowClosed, &app, &QCoreApplication::quit);
        QObject::connect(&termination, &TerminationSignals::received, window.get(),
                         &QWidget::close);
        return true;
    });
    if (handedOver || app.Failed())
        return handedOver ? 0 : code;
    mpris.reset();
    window.reset();
    settings.ArcOpenDlgWidth = playlist.GetArchiveDialogWidth();
    settings.ArcOpenDlgHeight = playlist.GetArchiveDialogHeight();
    settings.SetPlayListItems(playlist.GetPaths());
    SettingsLocation::CreateFolderOf(iniPath);
    settings.Save(iniPath.c_str());
    return code;
}
