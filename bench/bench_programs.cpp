// What the programs cost while a busy karaoke song plays, and how soon the window shows: the
// real executables under an X server (our own Xvfb when no DISPLAY is given), the output a
// capture file so the synthesizer is not counted. CPU is the process's user + system time over
// the wall time of a steady stretch of playing, read from /proc/PID/stat.
//   DRUVEL_BENCH_SECONDS  length of each measured stretch (default 10)
#include "fixtures/DenseKaraokeSong.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

int MeasuredSeconds() {
    const char* value = std::getenv("DRUVEL_BENCH_SECONDS");
    const int seconds = value ? std::atoi(value) : 0;
    return seconds > 0 ? seconds : 10;
}

double MonotonicSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

bool OnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path ? path : "/usr/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':'))
        if (!dir.empty() && access((dir + "/" + program).c_str(), X_OK) == 0)
            return true;
    return false;
}

// A program started with extra environment variables, ended (and reaped) with the object.
class Child {
public:
    Child(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
          bool quiet = true) {
        std::map<std::string, std::string> merged;
        for (char** e = environ; *e; ++e) {
            const std::string entry = *e;
            const auto eq = entry.find('=');
            if (eq != std::string::npos)
                merged[entry.substr(0, eq)] = entry.substr(eq + 1);
        }
        for (const auto& [key, value] : env)
            merged[key] = value;
        std::vector<std::string> envText;
        for (const auto& [key, value] : merged)
            envText.push_back(key + "=" + value);
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        std::vector<char*> envp;
        for (std::string& e : envText)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (quiet) {
            posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
            posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        }
        if (posix_spawn(&m_pid, args[0], &actions, nullptr, args.data(), envp.data()) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Child() { End(); }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool Started() const noexcept { return m_pid > 0; }
    bool Running() {
        if (m_pid <= 0)
            return false;
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            return false;
        }
        return true;
    }
    // User + system seconds so far, from /proc/PID/stat (fields 14 and 15).
    std::optional<double> CpuSeconds() const {
        std::ifstream in("/proc/" + std::to_string(m_pid) + "/stat");
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const auto paren = text.rfind(')');
        if (paren == std::string::npos)
            return std::nullopt;
        std::istringstream fields(text.substr(paren + 2));
        std::string field;
        unsigned long long utime = 0;
        unsigned long long stime = 0;
        for (int k = 3; k <= 15 && fields >> field; ++k) {
            if (k == 14)
                utime = std::stoull(field);
            else if (k == 15)
                stime = std::stoull(field);
        }
        return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
    }
    // Asks the program to end as a user would, then insists.
    void End() {
        if (!Running())
            return;
        kill(m_pid, SIGTERM);
        for (int i = 0; i < 300 && Running(); ++i)
            std::this_thread::sleep_for(10ms);
        if (Running()) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
};

// The X server the programs show their windows on: DISPLAY when set, else an Xvfb of our own
// on a display number it picks itself, else none (Qt's offscreen platform).
class Screen {
public:
    Screen() {
        if (const char* display = std::getenv("DISPLAY"); display && *display) {
            m_display = display;
            return;
        }
        if (!OnPath("Xvfb"))
            return;
        int fds[2];
        if (pipe(fds) != 0)
            return;
        const std::string fd = std::to_string(fds[1]);
        m_server.emplace(std::vector<std::string>{"/usr/bin/Xvfb", "-displayfd", fd, "-screen", "0",
                                                  "1280x1024x24", "-nolisten", "tcp"},
                         std::map<std::string, std::string>{});
        close(fds[1]);
        char buffer[16] = {};
        const ssize_t got = read(fds[0], buffer, sizeof buffer - 1);
        close(fds[0]);
        if (got > 0)
            m_display = ":" + std::to_string(std::atoi(buffer));
    }

    bool HasX() const { return !m_display.empty(); }
    std::map<std::string, std::string> Environment() const {
        if (HasX())
            return {{"DISPLAY", m_display}, {"QT_QPA_PLATFORM", "xcb"}};
        return {{"QT_QPA_PLATFORM", "offscreen"}};
    }

private:
    std::string m_display;
    std::optional<Child> m_server;
};

Screen& TheScreen() {
    static Screen screen;
    return screen;
}

// A folder of the run's own: the song, the capture, the settings and the instance socket.
class Workspace {
public:
    Workspace() {
        std::string pattern = (fs::temp_directory_path() / "druvel-bench-XXXXXX").string();
        m_path = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~Workspace() {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    std::string File(const std::string& name) const { return (m_path / name).string(); }
    std::string Song(int seconds) const {
        const std::string path = File("dense.mid");
        std::ofstream(path, std::ios::binary) << DenseKaraokeSong(seconds);
        return path;
    }
    std::map<std::string, std::string> WindowEnvironment() const {
        auto env = TheScreen().Environment();
        env["DRUVEL_HOME"] = m_path.string();
        env["XDG_RUNTIME_DIR"] = m_path.string(); // no hand-over to a player already running
        return env;
    }

private:
    fs::path m_path;
};

// Waits until `ready` holds or the time is up.
template <typename Ready> bool WaitFor(Ready ready, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (ready())
            return true;
        std::this_thread::sleep_for(10ms);
    }
    return ready();
}

std::uintmax_t FileSize(const std::string& path) {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    return error ? 0 : size;
}

// Waits until the capture grows (the song plays), lets the start settle, then measures.
void MeasurePlaying(benchmark::State& state, Child& program, const std::string& capture) {
    if (!WaitFor([&] { return FileSize(capture) > 0 || !program.Running(); }, 20s) ||
        !program.Running()) {
        state.SkipWithError("the program did not start playing");
        return;
    }
    std::this_thread::sleep_for(1s);
    const double wall0 = MonotonicSeconds();
    const auto cpu0 = program.CpuSeconds();
    const auto size0 = FileSize(capture);
    std::this_thread::sleep_for(std::chrono::seconds(MeasuredSeconds()));
    const auto cpu1 = program.CpuSeconds();
    const double wall1 = MonotonicSeconds();
    if (!cpu0 || !cpu1 || !program.Running() || FileSize(capture) <= size0) {
        state.SkipWithError("the program stopped playing while measured");
        return;
    }
    state.counters["cpu_percent"] = 100.0 * (*cpu1 - *cpu0) / (wall1 - wall0);
    state.counters["x_server"] = TheScreen().HasX() ? 1 : 0;
}

// (a) The controls demo: every display control fed by one engine.
void BM_ControlsDemoCpu(benchmark::State& state) {
    for (auto _ : state) {
        Workspace work;
        const std::string capture = work.File("capture.txt");
        Child demo({DRUVEL_CONTROLS_DEMO, "--device", "capture:" + capture,
                    work.Song(MeasuredSeconds() + 20)},
                   TheScreen().Environment());
        MeasurePlaying(state, demo, capture);
    }
}
BENCHMARK(BM_ControlsDemoCpu)->Iterations(1)->Unit(benchmark::kSecond);

// Focuses the player's window and presses the play accelerator, as a user would.
bool PressPlay() {
    const std::string display = "DISPLAY=" + TheScreen().Environment()["DISPLAY"] + " ";
    const std::string find = display + "xdotool search --sync --onlyvisible --name Druvel";
    return std::system((find + " windowfocus --sync >/dev/null 2>&1").c_str()) == 0 &&
           std::system((display + "xdotool key ctrl+space >/dev/null 2>&1").c_str()) == 0;
}

// (b) The main window in its normal mode, started with the song and played by its accelerator.
void BM_WindowCpu(benchmark::State& state) {
    if (!TheScreen().HasX() || !OnPath("xdotool")) {
        state.SkipWithError("needs an X server (Xvfb) and xdotool to press play");
        return;
    }
    for (auto _ : state) {
        Workspace work;
        const std::string capture = work.File("capture.txt");
        auto env = work.WindowEnvironment();
        env["DRUVEL_MIDI_OUT"] = "capture:" + capture;
        Child player({DRUVEL_GUI, work.Song(MeasuredSeconds() + 20)}, env);
        if (!PressPlay()) {
            state.SkipWithError("could not press play in the window");
            return;
        }
        MeasurePlaying(state, player, capture);
    }
}
BENCHMARK(BM_WindowCpu)->Iterations(1)->Unit(benchmark::kSecond);

// (c) From the start of the process to its window's first frame on the screen, with the
// SoundFont loading behind it. The window writes the moment of its first frame (the monotonic
// clock, in microseconds) to the file DRUVEL_REPORT_STARTUP names.
void BM_WindowStartup(benchmark::State& state) {
    for (auto _ : state) {
        Workspace work;
        const std::string stamp = work.File("shown.txt");
        auto env = work.WindowEnvironment();
        env["DRUVEL_REPORT_STARTUP"] = stamp;
        const std::string song = work.Song(20);
        const double start = MonotonicSeconds();
        Child player({DRUVEL_GUI, song}, env);
        long long shownUs = 0;
        const bool shown = WaitFor(
            [&] {
                std::ifstream in(stamp);
                return static_cast<bool>(in >> shownUs);
            },
            20s);
        if (!shown) {
            state.SkipWithError("the window reported no first frame");
            return;
        }
        state.counters["startup_s"] = static_cast<double>(shownUs) / 1e6 - start;
        // What the start cost the process itself, which a busy machine does not stretch.
        if (const auto cpu = player.CpuSeconds())
            state.counters["startup_cpu_s"] = *cpu;
    }
}
BENCHMARK(BM_WindowStartup)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
