// Playback figures: how close to their musical time messages are sent and stamped, how fast a
// song renders offline, and what the tick costs.
#include "clock/ManualTimer.h"
#include "clock/SystemClock.h"
#include "clock/VirtualClock.h"
#include "core/MidiOutError.h"
#include "engine/SongBuilder.h"
#include "midi/CLSMIDIData.h"
#include "output/CaptureMidiOutput.h"
#include "synth/SoundFontLocator.h"
#include "synth/SynthRenderOutput.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <condition_variable>
#include <ctime>
#include <fstream>
#include <mutex>
#include <sstream>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

constexpr int kResolution = 480; // at the default tempo one tick is 1/960 s

// Sixteen channels, each with a note-on every `stepMs` and its note-off half-way.
std::vector<std::uint8_t> DenseSong(unsigned seconds, unsigned stepMs) {
    SongBuilder b(1000); // resolution 1000 at 500000 us per quarter: one tick is 0.5 ms
    const unsigned step = stepMs * 2;
    for (int channel = 0; channel < 16; ++channel) {
        b.Track(static_cast<unsigned>(channel)).Program(0, channel, channel * 5);
        for (unsigned t = 0; t < seconds * 2000; t += step)
            b.NoteOn(t, channel, 48 + channel, 90).NoteOff(t + step / 2, channel, 48 + channel);
    }
    return b.Bytes();
}

// A song of ordinary density: eight parts, a note every eighth at 120 beats per minute.
std::vector<std::uint8_t> OrdinarySong(unsigned seconds) {
    SongBuilder b(kResolution);
    for (int channel = 0; channel < 8; ++channel) {
        const int ch = channel == 7 ? 9 : channel;
        b.Track(static_cast<unsigned>(channel)).Program(0, ch, channel * 9);
        for (unsigned t = 0; t < seconds * 2 * kResolution; t += kResolution / 2) {
            const int note = ch == 9 ? 36 + (t / 240) % 8 : 48 + channel * 3 + (t / 240) % 12;
            b.NoteOn(t, ch, note, 70 + channel * 5).NoteOff(t + 200, ch, note);
        }
    }
    return b.Bytes();
}

bool LoadSong(CLSMIDIData& song, const std::vector<std::uint8_t>& bytes) {
    return song.LoadFromMemory(bytes.data(), bytes.size(), "bench.mid");
}

struct Percentiles {
    double p50 = 0, p99 = 0, max = 0;
};

Percentiles Summarise(std::vector<double> values) {
    Percentiles p;
    if (values.empty())
        return p;
    std::sort(values.begin(), values.end());
    const auto at = [&](double q) {
        return values[std::min(values.size() - 1, static_cast<std::size_t>(q * values.size()))];
    };
    p.p50 = at(0.50);
    p.p99 = at(0.99);
    p.max = values.back();
    return p;
}

// (a) Real time with the timer thread, into a capture file. The ideal time of the k-th
// note-on is its musical time from the opening of the device, scaled by the tempo percent.
void BM_PlaybackTiming(benchmark::State& state) {
    const int percent = static_cast<int>(state.range(0));
    constexpr unsigned kSeconds = 10;
    constexpr unsigned kStepMs = 10;
    const std::string path = "/tmp/druvel-bench-capture-" + std::to_string(getpid()) + ".txt";
    for (auto _ : state) {
        CLSMIDIData song;
        if (!LoadSong(song, DenseSong(kSeconds, kStepMs))) {
            state.SkipWithError("song did not load");
            return;
        }
        std::mutex mutex;
        std::condition_variable wake;
        bool ended = false;
        song.SetOwner(nullptr, [&](int kind, unsigned) {
            std::lock_guard lock(mutex);
            ended = ended || kind == CLSMIDIData::kNotifyEnd;
            wake.notify_all();
        });
        CLSMIDIData::PlaybackSetup setup;
        setup.openOutput = [&](int, std::unique_ptr<MidiOutput>& out) {
            out = std::make_unique<CaptureMidiOutput>(path, SystemClock::Instance());
            return MIDIOUT_OK;
        };
        song.SetPlaybackSetup(std::move(setup));
        song.SetTempoPercent(percent);
        song.Play(0, -1);
        {
            std::unique_lock lock(mutex);
            wake.wait_for(lock, std::chrono::seconds(kSeconds * 2 + 5), [&] { return ended; });
        }
        song.Stop();
    }
    std::vector<double> sent;
    std::vector<double> due;
    std::ifstream in(path);
    std::string line;
    long k = 0;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        long long sentUs = 0;
        long long dueUs = 0;
        std::string status;
        fields >> sentUs >> dueUs >> status;
        if (status.size() != 2 || status[0] != '9')
            continue;
        const double ideal = static_cast<double>(k / 16 * kStepMs) * 1000.0 * 100 / percent;
        sent.push_back(static_cast<double>(sentUs) - ideal);
        due.push_back(static_cast<double>(dueUs) - ideal);
        ++k;
    }
    std::remove(path.c_str());
    const Percentiles s = Summarise(sent);
    const Percentiles d = Summarise(due);
    state.counters["notes"] = static_cast<double>(k);
    state.counters["sent_p50_us"] = s.p50;
    state.counters["sent_p99_us"] = s.p99;
    state.counters["sent_max_us"] = s.max;
    state.counters["due_p50_us"] = d.p50;
    state.counters["due_p99_us"] = d.p99;
    state.counters["due_max_us"] = d.max;
}
BENCHMARK(BM_PlaybackTiming)->Arg(100)->Arg(250)->Iterations(1)->Unit(benchmark::kSecond);

// (b) Offline rendering with the embedded synthesizer, as druvel-cli render does it.
void BM_RenderSpeed(benchmark::State& state) {
    const std::string soundFont = SoundFontLocator().Find();
    if (soundFont.empty()) {
        state.SkipWithError("no General MIDI SoundFont installed");
        return;
    }
    const bool dense = state.range(0) != 0;
    constexpr unsigned kSeconds = 30;
    double audioSeconds = 0;
    double wallSeconds = 0;
    for (auto _ : state) {
        VirtualClock clock;
        ManualTimer timer;
        CLSMIDIData song;
        LoadSong(song, dense ? DenseSong(kSeconds, 10) : OrdinarySong(kSeconds));
        SynthRenderOutput* synth = nullptr;
        bool ended = false;
        CLSMIDIData::PlaybackSetup setup;
        setup.clock = &clock;
        setup.timer = &timer;
        setup.closeWait = 0ms;
        setup.openOutput = [&](int, std::unique_ptr<MidiOutput>& out) {
            auto output = std::make_unique<SynthRenderOutput>(soundFont, clock);
            synth = output.get();
            out = std::move(output);
            return MIDIOUT_OK;
        };
        song.SetPlaybackSetup(std::move(setup));
        song.SetOwner(nullptr, [&](int kind, unsigned) { ended = ended || kind == 3; });
        song.SetVolume(100, 100);
        if (!song.Play(0, 0)) {
            state.SkipWithError("synthesizer did not open");
            return;
        }
        std::int64_t frames = 0;
        const auto sink = [&](const float*, const float*, int n) {
            frames += n;
            return true;
        };
        const auto wallStart = std::chrono::steady_clock::now(); // SoundFont loading excluded
        while (!ended) {
            clock.Advance(15ms);
            timer.Fire();
            synth->RenderUntil(clock.Now(), sink);
        }
        synth->RenderUntil(clock.Now() + 2s, sink);
        wallSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        song.Stop();
        audioSeconds += static_cast<double>(frames) / SynthRenderOutput::kSampleRate;
    }
    state.counters["audio_s"] = audioSeconds;
    state.counters["x_realtime"] = wallSeconds > 0 ? audioSeconds / wallSeconds : 0;
}
BENCHMARK(BM_RenderSpeed)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

// Takes every message and does nothing, so only the engine's own work is measured.
class NullOutput final : public MidiOutput {
public:
    int Open() override { return MIDIOUT_OK; }
    int Reset() override { return MIDIOUT_OK; }
    int ShortMsg(std::uint8_t, std::uint8_t, std::uint8_t, MonoTime) override { return 0; }
    int LongMsg(const std::uint8_t*, std::size_t, MonoTime) override { return 0; }
    int SetVolume(std::uint32_t) override { return MIDIOUT_OK; }
    int GetVolume(std::uint32_t&) override { return MIDIOUT_OK; }
    int Close() override { return MIDIOUT_OK; }
};

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// (c) CPU time the tick takes per second of playback of the dense song (3,200 messages a
// second), without the output's own cost.
void BM_TickCpu(benchmark::State& state) {
    constexpr unsigned kSeconds = 60;
    double cpu = 0;
    double played = 0;
    for (auto _ : state) {
        VirtualClock clock;
        ManualTimer timer;
        CLSMIDIData song;
        LoadSong(song, DenseSong(kSeconds, 10));
        bool ended = false;
        CLSMIDIData::PlaybackSetup setup;
        setup.clock = &clock;
        setup.timer = &timer;
        setup.closeWait = 0ms;
        setup.openOutput = [](int, std::unique_ptr<MidiOutput>& out) {
            out = std::make_unique<NullOutput>();
            return MIDIOUT_OK;
        };
        song.SetPlaybackSetup(std::move(setup));
        song.SetOwner(nullptr, [&](int kind, unsigned) { ended = ended || kind == 3; });
        song.SetAdjustVelocity(true);
        song.SetKey(2);
        song.Play(0, 0);
        while (!ended) {
            clock.Advance(15ms);
            const double before = ThreadCpuSeconds();
            timer.Fire();
            cpu += ThreadCpuSeconds() - before;
        }
        played += kSeconds;
        song.Stop();
    }
    state.counters["tick_cpu_us_per_s"] = cpu / played * 1e6;
    state.counters["tick_cpu_percent"] = cpu / played * 100;
}
BENCHMARK(BM_TickCpu)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
