// druvel-cli play: plays songs in real time through the engine, with the threads the player
// uses, and shows title, time and the lyric line on the terminal.
#include "backends/MidiOutDevices.h"
#include "cli/CliLyricLine.h"
#include "cli/CliPlayOptions.h"
#include "cli/CliSessionOutput.h"
#include "cli/CliSong.h"
#include "cli/CliTerminal.h"
#include "cli/PlayListArguments.h"
#include "clock/SystemClock.h"
#include "core/DisplayText.h"
#include "core/MidiOutError.h"
#include "core/UiText.h"
#include "midi/CLSMIDIData.h"
#include "playlist/CLSPlayList.h"
#include "synth/SoundFontChoice.h"

#include <atomic>
#include <csignal>
#include <cstdio>

namespace {

constexpr const char* kModule = "CLI";
constexpr int kErrCannotPlay = 6;
constexpr int kPollMs = 30;

std::atomic<bool> g_interrupted{false};

void OnInterrupt(int) {
    g_interrupted.store(true);
}

// Ctrl-C and termination end the command through its normal path, so the engine is stopped
// and the terminal restored before the process goes.
class InterruptGuard {
public:
    InterruptGuard() {
        struct sigaction action {};
        action.sa_handler = OnInterrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &m_savedInt);
        sigaction(SIGTERM, &action, &m_savedTerm);
    }
    ~InterruptGuard() {
        sigaction(SIGINT, &m_savedInt, nullptr);
        sigaction(SIGTERM, &m_savedTerm, nullptr);
    }

private:
    struct sigaction m_savedInt {};
    struct sigaction m_savedTerm {};
};

enum class After { Next, Previous, Ended, Quit };

std::string Clock(unsigned ms) {
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u", ms / 60000, ms / 1000 % 60);
    return text;
}

// Everything the terminal shows for the song that plays.
class PlayScreen {
public:
    PlayScreen(const CLSMIDIData& song, bool terminal)
        : m_song(song), m_terminal(terminal),
          m_lyrics(song.HasLyricLayout(), song.GetTextEncoding()) {}

    void ShowTitle(const std::string& path) const {
        const CLSTString& title = m_song.GetTitle();
        std::printf(
            "%s%s  (%s)\n", m_terminal ? "\r\033[K" : "",
            title.IsEmpty()
                ? UiText::Translate("CliPlay", "(no title)").c_str()
                : DisplayText(title.Text(), title.Length(), m_song.GetTextEncoding()).c_str(),
            path.c_str());
        std::fflush(stdout);
    }

    void Feed(const CLSMIDIWordInfoArray& words) {
        for (const CLSMIDIWordInfo& word : words) {
            const unsigned before = m_lyrics.LineId();
            const std::string finished = m_lyrics.Sung() + m_lyrics.Rest();
            m_lyrics.Feed(word);
            // Without a terminal each line is printed once, when the next one begins.
            if (!m_terminal && m_lyrics.LineId() != before && !finished.empty())
                std::printf("  %s\n", finished.c_str());
        }
    }

    void Update(bool paused) {
        if (!m_terminal)
            return;
        const std::string status = std::string(paused ? "||" : "> ") + " " +
                                   Clock(m_song.GetPosition()) + " / " + Clock(m_song.GetLength()) +
                                   "  \033[1;36m" + m_lyrics.Sung() + "\033[0m" + m_lyrics.Rest();
        if (status == m_shown)
            return;
        m_shown = status;
        std::printf("\r\033[K%s", status.c_str());
        std::fflush(stdout);
    }

    void Finish() const {
        if (m_terminal) {
            std::fputs("\r\033[K", stdout);
        } else {
            const std::string last = m_lyrics.Sung() + m_lyrics.Rest();
            if (!last.empty())
                std::printf("  %s\n", last.c_str());
        }
        std::fflush(stdout);
    }

private:
    const CLSMIDIData& m_song;
    bool m_terminal;
    CliLyricLine m_lyrics;
    std::string m_shown;
};

class Player {
public:
    Player(const CliPlayOptions& options, CliTerminal& terminal)
        : m_options(options), m_terminal(terminal) {}

    int Run();

private:
    bool Setup();
    After PlayOne(const std::string& path, unsigned startMs);
    bool Start(unsigned startMs);
    // Makes the song that comes next current; false when the command is done.
    bool MoveOn(After after);

    const CliPlayOptions& m_options;
    CliTerminal& m_terminal;
    CLSMIDIData m_song;
    std::unique_ptr<CliSessionOutput> m_session;
    std::atomic<bool> m_ended{false};
    CLSPlayList m_list;
    CLSRandom m_random;
    int m_owner = 0;
    int m_failures = 0;
    int m_failuresInRow = 0;
};

bool Player::Setup() {
    CLSMIDIData::PlaybackSetup setup;
    const std::string& device = m_options.device;
    if (device.rfind("capture:", 0) == 0) {
        std::unique_ptr<MidiOutput> capture;
        if (MidiOutDevices::CreateFromArgument(device, SystemClock::Instance(), capture) !=
            MIDIOUT_OK) {
            std::fprintf(
                stderr, "druvel-cli: %s\n",
                UiText::Format(UiText::Translate("CliPlay", "bad device '%1'"), {device}).c_str());
            return false;
        }
        m_session = std::make_unique<CliSessionOutput>(std::move(capture));
        setup.openOutput = [this](int, std::unique_ptr<MidiOutput>& out) {
            out = m_session->Lend();
            return MIDIOUT_OK;
        };
    }
    // The command line's SoundFont beats the environment's, as for render.
    SoundFontChoice::SetCommandLineChoice(m_options.soundFont);
    m_song.SetPlaybackSetup(std::move(setup));
    m_song.SetTempoPercent(m_options.tempo);
    m_song.SetKey(m_options.key);
    m_song.SetVolume(m_options.volume, m_options.volume);
    m_song.SetTextEncoding(m_options.encoding);
    return true;
}

bool Player::Start(unsigned startMs) {
    m_ended = false;
    if (m_song.Play(startMs, m_options.deviceId))
        return true;
    CLSError(kErrCannotPlay, kModule, __LINE__).Show(&m_owner);
    ++m_failures;
    return false;
}

After Player::PlayOne(const std::string& path, unsigned startMs) {
    if (!LoadSongForCli(m_song, path)) {
        ++m_failures;
        ++m_failuresInRow;
        return After::Ended;
    }
    m_failuresInRow = 0;
    m_song.SetOwner(&m_owner, [this](int kind, unsigned) {
        if (kind == CLSMIDIData::kNotifyEnd)
            m_ended.store(true);
    });
    PlayScreen screen(m_song, CliTerminal::OutputIsTerminal());
    screen.ShowTitle(path);
    if (!Start(startMs))
        return After::Quit;
    bool paused = false;
    After after = After::Ended;
    CLSMIDIWordInfoArray due;
    for (;;) {
        if (g_interrupted.load()) {
            after = After::Quit;
            break;
        }
        const int key = m_terminal.ReadKey(kPollMs);
        if (key == 'q' || key == 'n' || key == 'p') {
            after = key == 'q' ? After::Quit : key == 'n' ? After::Next : After::Previous;
            break;
        }
        if (key == ' ') {
            paused = !paused;
            if (paused)
                m_song.Stop(); // the engine keeps the position
            else if (!Start(m_song.GetPosition()))
                return After::Quit;
        }
        if (m_ended.load())
            break;
        if (!paused) {
            m_song.TakeDueWords(due);
            screen.Feed(due);
        }
        screen.Update(paused);
    }
    m_song.Stop();
    screen.Finish();
    return after;
}

bool Player::MoveOn(After after) {
    switch (after) {
    case After::Quit:
        return false;
    case After::Next:
        m_list.Next();
        return true;
    case After::Previous:
        m_list.Previous();
        return true;
    case After::Ended:
        break;
    }
    switch (m_list.AdvanceByPlayOrder(m_options.order, m_random)) {
    case PlayOrderStep::kReplay:
    case PlayOrderStep::kLoadAndPlay:
        return true;
    case PlayOrderStep::kLoad: // the last song of the normal order has ended
    case PlayOrderStep::kNothing:
        break;
    }
    return false;
}

int Player::Run() {
    if (!Setup())
        return 2;
    const bool allAdded = AddCliPaths(m_list, m_options.files);
    if (m_list.Count() == 0) {
        std::fprintf(stderr, "druvel-cli play: %s\n",
                     UiText::Translate("CliPlay", "nothing to play").c_str());
        return 1;
    }
    m_random.Seed(timeGetTime());
    unsigned start = m_options.startMs;
    for (;;) {
        const CLSTString path = m_list.GetCurrentPath();
        After after = PlayOne(path.Text(), start);
        start = 0;
        // A song that cannot be loaded is passed over as if it had ended; when none loads,
        // the command stops instead of trying them forever.
        if (m_failuresInRow >= static_cast<int>(m_list.Count()))
            break;
        if (m_failuresInRow > 0)
            after = After::Ended;
        if (!MoveOn(after))
            break;
    }
    if (g_interrupted.load())
        return 130;
    return m_failures > 0 || !allAdded ? 1 : 0;
}

} // namespace

int RunPlayCommand(const std::vector<std::string>& args) {
    CliPlayOptions options;
    std::string error;
    if (!ParsePlayOptions(args, options, error)) {
        return ReportOptionError("play", error, UiText::Translate("CliPlay", kPlayUsage));
    }
    g_interrupted = false;
    InterruptGuard interrupts;
    CliTerminal terminal;
    return Player(options, terminal).Run();
}
