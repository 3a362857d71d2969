// Plays one song through the engine and shows the display controls fed by it, each on its
// own: a workbench for looking at the controls apart from the main window.
//   druvel-controls-demo [--device N|capture:FILE] SONG
#include "controls/CLSWndMarquee.h"
#include "controls/CLSWndSeparator.h"
#include "controls/CLSWndSpectrum.h"
#include "controls/CLSWndTimeLabel.h"
#include "controls/CLSWndTrackBar.h"
#include "controls/CLSWordControl.h"
#include "controls/ControlFonts.h"
#include "core/DisplayText.h"
#include "midi/CLSMIDIData.h"
#include "platform/MidiOutDevices.h"
#include "platform/PlatformBackends.h"
#include "platform/SystemClock.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <string>

namespace {

constexpr int kWidth = 640;
constexpr int kLyricsHeight = 300;
constexpr int kSpectrumHeight = 134;

int Usage() {
    std::fprintf(stderr, "Usage: druvel-controls-demo [--device N|capture:FILE] SONG\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    InstallPlatformBackends();
    std::string device;
    std::string song;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--device" && i + 1 < argc)
            device = argv[++i];
        else if (!arg.empty() && arg[0] != '-' && song.empty())
            song = arg;
        else
            return Usage();
    }
    if (song.empty())
        return Usage();

    QApplication app(argc, argv);
    ControlFonts::RegisterSubstitutions();
    CLSMIDIData engine;
    if (!device.empty()) {
        CLSMIDIData::PlaybackSetup setup;
        setup.openOutput = [device](int, std::unique_ptr<MidiOutput>& out) {
            return MidiOutDevices::CreateFromArgument(device, SystemClock::Instance(), out);
        };
        engine.SetPlaybackSetup(std::move(setup));
    }
    if (!engine.Load(song.c_str())) {
        std::fprintf(stderr, "druvel-controls-demo: cannot load %s\n", song.c_str());
        return 1;
    }

    QWidget window;
    window.setWindowTitle(QStringLiteral("Druvel controls"));
    window.setStyleSheet(QStringLiteral("background: black;"));
    window.resize(kWidth, kLyricsHeight + 60 + kSpectrumHeight);
    auto* words = new CLSWordControl(&window);
    words->SetEngine(&engine);
    words->SetTimedWipe(engine.GetXF() == 1 || engine.HasLyricLayout());
    words->Move(0, 0, kWidth, kLyricsHeight);
    auto* time = new CLSWndTimeLabel(&window);
    time->Create(&window, 1026);
    time->Move(0, kLyricsHeight, 112, 30);
    auto* marquee = new CLSWndMarquee(&window);
    marquee->Create(&window, 1037);
    marquee->SetFont(ControlFonts::InterfaceFont());
    marquee->Move(120, kLyricsHeight + 16, kWidth - 120, 12);
    CLSTStringArray texts;
    texts.push_back(CLSTString(song.c_str()));
    texts.push_back(CLSTString(DisplayText(engine.GetTitle().Text(), engine.GetTitle().Length(),
                                           engine.GetTextEncoding())
                                   .c_str()));
    marquee->SetTexts(texts);
    auto* seek = new CLSWndTrackBar(&window);
    seek->Create(&window, 1025);
    seek->SetRange(0, static_cast<int>(engine.GetLength()));
    seek->Move(0, kLyricsHeight + 32, kWidth, 21);
    CLSWndSpectrum spectrum;
    spectrum.Create(&window, 1035);
    spectrum.Move(0, kLyricsHeight + 60, kWidth, kSpectrumHeight);
    spectrum.SetRows(&engine.GetRows());
    window.show();

    if (!engine.Play(0, MidiOutDevices::kDefaultDevice))
        return 1;
    spectrum.SetSoundDelay(engine.GetOutputLatency());
    spectrum.Start();
    words->Start();
    QTimer position;
    QObject::connect(&position, &QTimer::timeout, &app, [&] {
        const unsigned ms = engine.GetPosition();
        seek->SetPos(static_cast<int>(ms));
        time->SetSeconds(ms / 1000);
        if (!engine.IsPlaying())
            app.quit();
    });
    position.start(100);
    const int code = app.exec();
    words->Stop();
    engine.Stop();
    spectrum.Stop(true);
    return code;
}
