// The platform layer's own figures: how late the periodic timer wakes, and how fast the
// embedded synthesizer renders a dense song offline.
#include "clock/PeriodicTimer.h"
#include "clock/VirtualClock.h"
#include "synth/SoundFontLocator.h"
#include "synth/SynthRenderOutput.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <mutex>
#include <vector>

using namespace std::chrono_literals;

namespace {

double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * double(values.size() - 1))];
}

// Wake-up lateness of the 15 ms timer against its grid, over 200 periods (3 s).
void BM_TimerLateness(benchmark::State& state) {
    constexpr auto kPeriod = 15ms;
    for (auto _ : state) {
        std::vector<std::chrono::steady_clock::time_point> calls;
        calls.reserve(256);
        PeriodicTimer timer;
        std::mutex mutex;
        timer.Start(kPeriod, [&] {
            std::lock_guard lock(mutex);
            calls.push_back(std::chrono::steady_clock::now());
        });
        std::this_thread::sleep_for(kPeriod * 200 + 5ms);
        timer.Stop();
        // The least late call tells where the grid lies.
        std::vector<double> offsets;
        for (std::size_t k = 0; k < calls.size(); ++k)
            offsets.push_back(std::chrono::duration<double, std::micro>(
                                  calls[k] - calls[0] - static_cast<std::int64_t>(k) * kPeriod)
                                  .count());
        const double origin = *std::min_element(offsets.begin(), offsets.end());
        for (double& offset : offsets)
            offset -= origin;
        state.counters["calls"] = double(calls.size());
        state.counters["late_p50_us"] = Percentile(offsets, 0.5);
        state.counters["late_p99_us"] = Percentile(offsets, 0.99);
        state.counters["late_max_us"] = Percentile(offsets, 1.0);
        state.counters["skipped"] = double(timer.SkippedDeadlines());
    }
}
BENCHMARK(BM_TimerLateness)->Iterations(1)->Unit(benchmark::kMillisecond);

// 10 s of a dense song: on each of 16 channels a note starts every 10 ms and lasts 80 ms.
void BM_SynthRenderSpeed(benchmark::State& state) {
    const std::string soundFont = SoundFontLocator().Find();
    if (soundFont.empty()) {
        state.SkipWithError("no SoundFont installed");
        return;
    }
    constexpr int kSeconds = 10;
    for (auto _ : state) {
        VirtualClock clock;
        SynthRenderOutput output(soundFont, clock);
        if (output.Open() != 0) {
            state.SkipWithError("cannot open the synthesizer");
            return;
        }
        const MonoTime start = clock.Now();
        const auto sink = [](const float*, const float*, int) { return true; };
        const auto begin = std::chrono::steady_clock::now();
        for (int ms = 0; ms < kSeconds * 1000; ms += 10) {
            const MonoTime at = start + std::chrono::milliseconds(ms);
            for (std::uint8_t channel = 0; channel < 16; ++channel) {
                const auto note = static_cast<std::uint8_t>(40 + (ms / 10 + channel * 3) % 48);
                output.ShortMsg(0x90 | channel, note, 90, at);
                output.ShortMsg(0x80 | channel, note, 0, at + 80ms);
            }
            clock.Set(at);
            output.RenderUntil(at, sink);
        }
        output.RenderUntil(start + std::chrono::seconds(kSeconds) + 100ms, sink);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        state.counters["x_realtime"] = (kSeconds + 0.1) / seconds;
    }
}
BENCHMARK(BM_SynthRenderSpeed)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
