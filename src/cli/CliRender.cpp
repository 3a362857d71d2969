// druvel-cli render: the song through the engine on a virtual clock into the embedded
// synthesizer, every message at the sample of its due time, written as a WAV file.
#include "cli/CliPlayOptions.h"
#include "cli/CliSong.h"
#include "clock/ManualTimer.h"
#include "clock/VirtualClock.h"
#include "core/MidiOutError.h"
#include "core/UiText.h"
#include "midi/CLSMIDIData.h"
#include "synth/SynthRenderOutput.h"
#include "synth/WavWriter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <unistd.h>

namespace {

using std::chrono::milliseconds;

constexpr milliseconds kReleaseTail{2000};
// A song whose end never comes (it cannot, but a broken clock could) stops here.
constexpr milliseconds kSafetyMargin{60000};
// The synthesizer's threads meet at every render call; longer stretches keep them busy. Each
// message still lands on its sample, so the file does not change.
constexpr int kTicksPerRender = 64;

const char* const kRenderUsage = DRUVEL_TRANSLATE_NOOP(
    "CliRender",
    "Usage: druvel-cli render [--tempo P] [--key K] [--soundfont F] [--threads N] -o OUT.wav "
    "FILE\n");

// The synthesizer's voices are spread over the machine's cores; more than a few threads only
// wait on each other.
int DefaultRenderThreads() {
    const unsigned cores = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(cores, 1u, 4u));
}

struct RenderOptions {
    int tempo = 100;
    int key = 0;
    int threads = DefaultRenderThreads();
    std::string soundFont;
    std::string output;
    std::string file;
};

bool ParseRenderOptions(const std::vector<std::string>& args, RenderOptions& options,
                        std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            error = "help";
            return false;
        }
        if (arg.rfind("-", 0) != 0 || arg == "-") {
            if (!options.file.empty()) {
                error = UiText::Translate("CliRender", "only one FILE is rendered at a time");
                return false;
            }
            options.file = arg;
            continue;
        }
        if (i + 1 >= args.size()) {
            error = UiText::Format(UiText::Translate("CliOptions", "%1 needs a value"), {arg});
            return false;
        }
        const std::string& value = args[++i];
        bool ok = true;
        if (arg == "--tempo")
            ok = ParseCliInt(value, 1, 1000, options.tempo);
        else if (arg == "--key")
            ok = ParseCliInt(value, -127, 127, options.key);
        else if (arg == "--threads")
            ok = ParseCliInt(value, 1, 64, options.threads);
        else if (arg == "--soundfont")
            options.soundFont = value;
        else if (arg == "-o" || arg == "--output")
            options.output = value;
        else {
            error = UiText::Format(UiText::Translate("CliOptions", "unknown option %1"), {arg});
            return false;
        }
        if (!ok) {
            error = UiText::Format(UiText::Translate("CliOptions", "bad value for %1: %2"),
                                   {arg, value});
            return false;
        }
    }
    if (options.file.empty() || options.output.empty()) {
        error = options.file.empty()
                    ? UiText::Translate("CliOptions", "no file given")
                    : UiText::Translate("CliRender", "no output given (-o OUT.wav)");
        return false;
    }
    return true;
}

class ProgressBar {
public:
    ProgressBar() : m_shown(isatty(STDERR_FILENO) != 0) {}

    void Show(double done) {
        const int percent = static_cast<int>(done * 100.0);
        if (!m_shown || percent == m_last)
            return;
        m_last = percent;
        char bar[41];
        const int filled = percent * 40 / 100;
        for (int i = 0; i < 40; ++i)
            bar[i] = i < filled ? '#' : '-';
        bar[40] = '\0';
        std::fprintf(stderr, "\r[%s] %3d%%", bar, percent);
    }
    void Finish() {
        if (m_shown)
            std::fputs("\r\033[K", stderr);
    }

private:
    bool m_shown;
    int m_last = -1;
};

class Renderer {
public:
    explicit Renderer(const RenderOptions& options) : m_options(options) {}

    int Run();

private:
    bool Prepare();
    bool RenderSong(MonoTime end);

    const RenderOptions& m_options;
    VirtualClock m_clock;
    ManualTimer m_timer;
    CLSMIDIData m_song;
    SynthRenderOutput* m_synth = nullptr; // owned by the engine while it plays
    WavWriter m_wav;
    bool m_ended = false;
    int m_owner = 0;
};

bool Renderer::Prepare() {
    if (!LoadSongForCli(m_song, m_options.file))
        return false;
    CLSMIDIData::PlaybackSetup setup;
    setup.clock = &m_clock;
    setup.timer = &m_timer;
    setup.closeWait = milliseconds(0);
    setup.openOutput = [this](int, std::unique_ptr<MidiOutput>& out) {
        auto synth =
            std::make_unique<SynthRenderOutput>(m_options.soundFont, m_clock, m_options.threads);
        m_synth = synth.get();
        out = std::move(synth);
        return MIDIOUT_OK;
    };
    m_song.SetPlaybackSetup(std::move(setup));
    m_song.SetOwner(&m_owner, [this](int kind, unsigned) {
        if (kind == CLSMIDIData::kNotifyEnd)
            m_ended = true;
    });
    m_song.SetTempoPercent(m_options.tempo);
    m_song.SetKey(m_options.key);
    m_song.SetVolume(100, 100);
    if (!m_wav.Open(m_options.output)) {
        std::fprintf(
            stderr, "druvel-cli render: %s\n",
            UiText::Format(UiText::Translate("CliRender", "cannot write %1"), {m_options.output})
                .c_str());
        return false;
    }
    return true;
}

bool Renderer::RenderSong(MonoTime end) {
    const auto sink = [this](const float* left, const float* right, int frames) {
        return m_wav.Write(left, right, frames);
    };
    const MonoTime start = m_clock.Now();
    ProgressBar progress;
    while (!m_ended && m_clock.Now() < end + kSafetyMargin) {
        for (int i = 0; i < kTicksPerRender && !m_ended; ++i) {
            m_clock.Advance(milliseconds(CLSMIDIData::kTimerPeriodMs));
            m_timer.Fire();
        }
        // Every message from now on is due after this point, so it is safe to render to it.
        if (!m_synth->RenderUntil(m_clock.Now(), sink))
            return false;
        progress.Show(
            std::min(1.0, std::chrono::duration<double>(m_clock.Now() - start) / (end - start)));
    }
    const bool written = m_synth->RenderUntil(end, sink);
    progress.Finish();
    return written;
}

int Renderer::Run() {
    if (!Prepare())
        return 1;
    if (!m_song.Play(0, 0))
        return 1;
    const auto wallStart = std::chrono::steady_clock::now();
    // The song at the chosen tempo, then the release of the last notes.
    const auto songTime = std::chrono::microseconds(static_cast<std::int64_t>(m_song.GetLength()) *
                                                    100000 / m_options.tempo);
    const MonoTime end = m_clock.Now() + songTime + kReleaseTail;
    const bool rendered = RenderSong(end);
    m_song.Stop();
    const bool closed = m_wav.Close();
    if (!rendered || !closed) {
        std::fprintf(
            stderr, "druvel-cli render: %s\n",
            UiText::Format(UiText::Translate("CliRender", "writing %1 failed"), {m_options.output})
                .c_str());
        return 1;
    }
    const double seconds = static_cast<double>(m_wav.Frames()) / SynthRenderOutput::kSampleRate;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    char length[32];
    char speed[32];
    std::snprintf(length, sizeof length, "%.3f", seconds);
    std::snprintf(speed, sizeof speed, "%.1f", wall > 0 ? seconds / wall : 0.0);
    const std::string summary = UiText::Format(
        UiText::Translate("CliRender",
                          "%1: %2 s, 44100 Hz, 16-bit stereo, rendered %3 times faster than "
                          "real time"),
        {m_options.output, length, speed});
    std::printf("%s\n", summary.c_str());
    return 0;
}

} // namespace

int RunRenderCommand(const std::vector<std::string>& args) {
    RenderOptions options;
    std::string error;
    if (!ParseRenderOptions(args, options, error)) {
        return ReportOptionError("render", error, UiText::Translate("CliRender", kRenderUsage));
    }
    return Renderer(options).Run();
}
