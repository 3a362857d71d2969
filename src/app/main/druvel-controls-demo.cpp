// Plays one song through the engine and shows the display controls fed by it, each on its
// own: a workbench for looking at the controls apart from the main window.
//   druvel-controls-demo [--device N|capture:FILE] [--tempo PERCENT] SONG
// With DRUVEL_TRACE_DISPLAY=FILE it writes when the displays drew and showed what (see
// DisplayTrace) to FILE at the end.
#include "app/NoteTraceMidiOutput.h"
#include "backends/MidiOutDevices.h"
#include "backends/PlatformBackends.h"
#include "clock/SystemClock.h"
#include "controls/CLSWndMarquee.h"
#include "controls/CLSWndSeparator.h"
#include "controls/CLSWndSpectrum.h"
#include "controls/CLSWndTimeLabel.h"
#include "controls/CLSWndTrackBar.h"
#include "controls/CLSWordControl.h"
#include "controls/ControlFonts.h"
#include "controls/DisplayTrace.h"
#include "core/DisplayText.h"
#include "core/MidiOutError.h"
#include "midi/CLSMIDIData.h"
#include "player/DisplayLag.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kWidth = 640;
constexpr int kLyricsHeight = 300;
constexpr int kSpectrumHeight = 134;
constexpr int kMinTempo = 40;
constexpr int kMaxTempo = 250;

int Usage() {
    std::fprintf(stderr,
                 "Usage: druvel-controls-demo [--device N|capture:FILE] [--tempo PERCENT] SONG\n");
    return 2;
}

// The tempo slider's range; anything else is refused rather than clamped.
bool ParseTempo(const std::string& text, int& percent) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < kMinTempo || value > kMaxTempo)
        return false;
    percent = static_cast<int>(value);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    InstallPlatformBackends();
    std::string device;
    std::string song;
    int tempo = 100;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--device" && i + 1 < argc)
            device = argv[++i];
        else if (arg == "--tempo" && i + 1 < argc) {
            if (!ParseTempo(argv[++i], tempo))
                return Usage();
        } else if (!arg.empty() && arg[0] != '-' && song.empty())
            song = arg;
        else
            return Usage();
    }
    if (song.empty())
        return Usage();

    // Made first so it outlives the drawing threads that record into it.
    const std::unique_ptr<DisplayTrace> trace = DisplayTrace::FromEnvironment();
    QApplication app(argc, argv);
    ControlFonts::RegisterSubstitutions();
    CLSMIDIData engine;
    if (!device.empty() || trace) {
        CLSMIDIData::PlaybackSetup setup;
        const bool traced = trace != nullptr;
        setup.openOutput = [device, traced](int id, std::unique_ptr<MidiOutput>& out) {
            const int result =
                device.empty()
                    ? MidiOutDevices().Create(id, out)
                    : MidiOutDevices::CreateFromArgument(device, SystemClock::Instance(), out);
            if (result == MIDIOUT_OK && traced)
                out = std::make_unique<NoteTraceMidiOutput>(std::move(out));
            return result;
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
    texts.push_back(CLSTString(
        DisplayText(engine.GetTitle().Text(), engine.GetTitle().Length(), engine.GetTextEncoding())
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

    // The engine plays on at the end of the song until stopped: the end is what ends the demo.
    engine.SetNotifier([&app](int kind, unsigned) {
        if (kind == CLSMIDIData::kNotifyEnd)
            QMetaObject::invokeMethod(&app, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    engine.SetTempoPercent(tempo);
    // No lyric lead of its own: the wipe is seen with the sound.
    engine.SetDisplayLead(kDisplayLag);
    if (!engine.Play(0, MidiOutDevices::kDefaultDevice))
        return 1;
    spectrum.SetSoundDelay(DisplayDelay(engine.GetOutputLatency()));
    DisplayTrace::Record(DisplayTrace::Event::SoundLatency,
                         static_cast<int>(engine.GetOutputLatency().count()));
    spectrum.Start();
    words->Start();
    QTimer position;
    QObject::connect(&position, &QTimer::timeout, &app, [&] {
        const unsigned ms = engine.GetPosition();
        seek->SetPos(static_cast<int>(ms));
        time->SetSeconds(ms / 1000);
    });
    position.start(100);
    const int code = app.exec();
    words->Stop();
    engine.Stop();
    spectrum.Stop(true);
    if (trace && !trace->WriteTo(trace->Path())) {
        std::fprintf(stderr, "druvel-controls-demo: cannot write %s\n", trace->Path().c_str());
        return 1;
    }
    return code;
}
