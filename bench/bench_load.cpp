// Load throughput of a generated multi-track song of about one million events: events and
// megabytes per second, and the memory the loaded song holds per event.
#include "fixtures/SampleSongs.h"
#include "midi/CLSMIDIData.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <malloc.h>

namespace {

constexpr int kTracks = 16;
constexpr int kEvents = 1000000;

const std::string& Song() {
    static const std::string bytes = ManyEventSong(kTracks, kEvents);
    return bytes;
}

std::size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void BM_LoadSong(benchmark::State& state) {
    const std::string& bytes = Song();
    CLSMIDIData song;
    std::size_t events = 0;
    for (auto _ : state) {
        song.LoadFromMemory(bytes.data(), bytes.size(), "bench.mid");
        events = song.GetEvents().size();
        benchmark::DoNotOptimize(events);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * events));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    state.counters["events"] = static_cast<double>(events);
}
BENCHMARK(BM_LoadSong)->Unit(benchmark::kMillisecond);

// Heap held by a loaded song, per event: list nodes, blocks, rows and words.
void BM_MemoryPerEvent(benchmark::State& state) {
    const std::string& bytes = Song();
    double perEvent = 0;
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        {
            CLSMIDIData song;
            song.LoadFromMemory(bytes.data(), bytes.size(), "bench.mid");
            perEvent = static_cast<double>(HeapInUse() - before) /
                       static_cast<double>(song.GetEvents().size());
        }
    }
    state.counters["bytes_per_event"] = perEvent;
}
BENCHMARK(BM_MemoryPerEvent)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
