// The main window under load, on the offscreen platform: adding a folder of 10,000 and 100,000
// songs (time, and how far the resident size peaks above where it was), paging the playlist
// view from top to bottom as a user holding Page Down would (time per frame), and the longest
// time the GUI thread is held by a playback command (play, pause, seek, next, previous, stop)
// and the events it leaves behind, the deferred work of a stop included (what follows it runs
// once the meters have fallen, in the events of later rounds).
#include "app/CLSMainWindow.h"

#include "backends/MidiOutDevices.h"
#include "clock/SystemClock.h"
#include "fixtures/SmfBuilder.h"
#include "fixtures/TestPaths.h"
#include "midi/CLSMIDIData.h"
#include "player/CLSCommandRunner.h"
#include "player/CLSMainLayout.h"
#include "player/CLSPlaybackFlow.h"
#include "player/CommandId.h"
#include "playlist/CLSPlayList.h"
#include "settings/CLSDRUVSettings.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScrollBar>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <malloc.h>
#include <map>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// kB of a line of /proc/self/status ("VmRSS", "VmHWM").
double StatusKb(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string name;
    double kb = 0;
    while (status >> name) {
        if (name == key + ":") {
            status >> kb;
            return kb;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

// CPU time of this process (user and system), so a figure holds on a busy machine.
double CpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double HeapInUse() {
    return static_cast<double>(mallinfo2().uordblks);
}

// Lets the peak resident size start again from the present one.
void ResetPeakResident() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// A short song of four parts with a tempo change every bar, so tempo notifications arrive.
std::string Song(int seconds) {
    SmfBuilder smf(1, 480);
    SmfTrack& conductor = smf.AddTrack();
    for (int bar = 0; bar < seconds / 2; ++bar)
        conductor.Tempo(bar == 0 ? 0 : 1920, bar % 2 ? 500000 : 480000);
    conductor.End();
    for (int part = 0; part < 4; ++part) {
        SmfTrack& track = smf.AddTrack();
        track.Program(0, part, part * 8);
        for (int beat = 0; beat < seconds * 2; ++beat)
            track.NoteOn(beat == 0 ? 0 : 240, part, 48 + part * 5 + beat % 7, 90)
                .NoteOff(240, part, 48 + part * 5 + beat % 7);
        track.End();
    }
    return smf.Bytes();
}

// A folder of `count` songs: the first a real one (it is loaded after the add), the others
// empty files, as a big collection looks to a folder search that reads no song. Made once per
// size for the whole run.
const std::string& SongFolder(int count) {
    static std::map<int, std::unique_ptr<TempDir>> folders;
    std::unique_ptr<TempDir>& dir = folders[count];
    if (!dir) {
        dir = std::make_unique<TempDir>();
        WriteFileBytes(dir->File("000000 first.mid"), Song(8));
        for (int i = 1; i < count; ++i)
            WriteFileBytes(dir->File("song " + std::to_string(i) + ".mid"), "");
    }
    return dir->Path();
}

const std::string& RealSongFolder() {
    static TempDir dir;
    static bool made = false;
    if (!made) {
        for (int i = 0; i < 6; ++i)
            WriteFileBytes(dir.File("song " + std::to_string(i) + ".mid"), Song(20));
        made = true;
    }
    return dir.Path();
}

void ProcessEvents() {
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

// The window as the program builds it, 800 x 600, playing into a capture that keeps nothing.
// `openTime` makes each open take as long as the synthesizer's does (its presets pinned, its
// audio driver started: 210-340 ms here).
struct Window {
    explicit Window(std::chrono::milliseconds openTime = 0ms) {
        settings.Width = 800;
        settings.PlayListWidth = 297;
        CLSMIDIData::PlaybackSetup setup;
        setup.openOutput = [openTime](int, std::unique_ptr<MidiOutput>& out) {
            std::this_thread::sleep_for(openTime);
            return MidiOutDevices::CreateFromArgument("capture:/dev/null", SystemClock::Instance(),
                                                      out);
        };
        engine.SetPlaybackSetup(std::move(setup));
        window = std::make_unique<CLSMainWindow>(settings, engine, playlist);
        window->show();
        window->resize(800, 600 + window->menuBar()->height());
        ProcessEvents();
    }
    ~Window() { window.reset(); }

    QTableView& View() const { return *static_cast<QTableView*>(window->Child(kChildPlayList)); }

    CLSDRUVSettings settings;
    CLSMIDIData engine;
    CLSPlayList playlist;
    std::unique_ptr<CLSMainWindow> window;
};

// A folder added through the window, as Open Folder does, until the view has caught up.
void BM_WindowAddFolder(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const std::string& folder = SongFolder(count);
    double growthMb = 0;
    double heapMb = 0;
    double cpuMs = 0;
    for (auto _ : state) {
        auto w = std::make_unique<Window>();
        ProcessEvents();
        // What earlier runs freed goes back first, so the growth is this add's own.
        malloc_trim(0);
        const double heapBefore = HeapInUse();
        const double before = StatusKb("VmRSS");
        ResetPeakResident();
        const Clock::time_point start = Clock::now();
        const double cpuStart = CpuMs();
        w->window->AddPaths({folder});
        ProcessEvents();
        state.SetIterationTime(MsSince(start) / 1000.0);
        cpuMs = CpuMs() - cpuStart;
        growthMb = (StatusKb("VmHWM") - before) / 1024.0;
        heapMb = (HeapInUse() - heapBefore) / 1e6;
        if (w->playlist.Count() != static_cast<unsigned>(count))
            state.SkipWithError("not every song was added");
    }
    state.counters["peak_rss_growth_MB"] = growthMb;
    state.counters["heap_MB"] = heapMb;
    state.counters["cpu_ms"] = cpuMs;
}
BENCHMARK(BM_WindowAddFolder)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);

// Songs appended one at a time (as a second instance hands over paths), each told to the
// view on its own: next to the folder add, what a view costs per row without the batching.
void BM_WindowAppendSongs(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    std::vector<CLSTString> paths;
    for (int i = 0; i < count; ++i)
        paths.emplace_back(("/music/collection/song " + std::to_string(i) + ".mid").c_str());
    double cpuMs = 0;
    for (auto _ : state) {
        auto w = std::make_unique<Window>();
        const Clock::time_point start = Clock::now();
        const double cpuStart = CpuMs();
        for (const CLSTString& path : paths)
            w->playlist.AppendSong(path);
        ProcessEvents();
        state.SetIterationTime(MsSince(start) / 1000.0);
        cpuMs = CpuMs() - cpuStart;
    }
    state.counters["cpu_ms"] = cpuMs;
}
BENCHMARK(BM_WindowAppendSongs)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);

// Page Down from the first row to the last; a frame is the key, its events and the repaint.
void BM_WindowPageThrough(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Window w;
    w.window->AddPaths({SongFolder(count)});
    ProcessEvents();
    QTableView& view = w.View();
    view.setFocus();
    std::vector<double> frames;
    for (auto _ : state) {
        frames.clear();
        view.scrollToTop();
        view.setCurrentIndex(view.model()->index(0, 0));
        ProcessEvents();
        const QScrollBar& bar = *view.verticalScrollBar();
        while (bar.value() < bar.maximum()) {
            const Clock::time_point start = Clock::now();
            QKeyEvent key(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
            QApplication::sendEvent(&view, &key);
            ProcessEvents();
            view.viewport()->repaint();
            frames.push_back(MsSince(start));
        }
    }
    state.counters["frames"] = static_cast<double>(frames.size());
    state.counters["frame_median_ms"] = Median(frames);
    state.counters["frame_max_ms"] =
        frames.empty() ? 0 : *std::max_element(frames.begin(), frames.end());
}
BENCHMARK(BM_WindowPageThrough)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// The GUI thread's longest hold per kind of step of a listening session: each command, or
// seek, with the events processed after it. Between steps the events run for a while, as when
// the user listens, and the longest single round of them is the "idle" figure.
class Session {
public:
    explicit Session(Window& w) : m_w(w) {}

    void Command(const char* kind, int id) {
        Step(kind, [&] { m_w.window->Commands().Run(id); });
    }
    void Seek(int ms) {
        Step("seek", [&] { m_w.window->Flow().SeekChosen(ms); });
    }
    void Listen(std::chrono::milliseconds span) {
        const Clock::time_point end = Clock::now() + span;
        while (Clock::now() < end) {
            const Clock::time_point start = Clock::now();
            ProcessEvents();
            m_longest["idle"] = std::max(m_longest["idle"], MsSince(start));
            std::this_thread::sleep_for(2ms);
        }
    }
    const std::map<std::string, double>& Longest() const { return m_longest; }

private:
    template <class Action> void Step(const char* kind, Action action) {
        const Clock::time_point start = Clock::now();
        action();
        ProcessEvents();
        m_longest[kind] = std::max(m_longest[kind], MsSince(start));
    }

    Window& m_w;
    std::map<std::string, double> m_longest;
};

// Arguments: how long an open takes (ms), and whether the window opens aside (1, as it does)
// or on its own thread (0, as it did).
void BM_WindowCommandStall(benchmark::State& state) {
    Window w(std::chrono::milliseconds(state.range(0)));
    w.window->Flow().SetOpenAside(state.range(1) != 0);
    w.window->AddPaths({RealSongFolder()});
    ProcessEvents();
    std::map<std::string, double> longest;
    for (auto _ : state) {
        Session s(w);
        for (int round = 0; round < 3; ++round) {
            s.Command("play", kCmdPlayPause);
            s.Listen(300ms);
            s.Command("pause", kCmdPlayPause);
            s.Listen(50ms);
            s.Command("play", kCmdPlayPause);
            s.Listen(200ms);
            s.Seek(9000);
            s.Listen(200ms);
            s.Command("next", kCmdNext);
            s.Listen(200ms);
            s.Command("previous", kCmdPrevious);
            s.Listen(200ms);
            s.Command("stop", kCmdStop);
            s.Listen(50ms);
        }
        // Commands given during a fall or an opening run when it is over: they count too.
        while (w.window->Flow().IsFalling() || w.window->Flow().IsOpening())
            s.Listen(20ms);
        longest = s.Longest();
    }
    double overall = 0;
    for (const auto& [kind, ms] : longest) {
        state.counters[kind + "_max_ms"] = ms;
        overall = std::max(overall, ms);
    }
    state.counters["stall_max_ms"] = overall;
    if (w.engine.IsPlaying())
        state.SkipWithError("still playing after the stop");
}
BENCHMARK(BM_WindowCommandStall)
    ->Args({0, 1})
    ->Args({250, 0})
    ->Args({250, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    // No display is needed, and none is wanted: figures must not depend on a compositor.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
