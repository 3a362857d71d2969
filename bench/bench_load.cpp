// Load throughput of a generated multi-track song of about one million events: events and
// megabytes per second, and the memory the loaded song holds per event.
#include "fixtures/SampleSongs.h"
#include "fixtures/SmfBuilder.h"
#include "midi/CLSMIDIData.h"

#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <new>

// Bytes live through operator new, and their high-water mark since the last reset: the peak a
// load reaches on the way, which the heap in use after it does not show.
namespace {
std::atomic<std::size_t> g_liveBytes{0};
std::atomic<std::size_t> g_peakBytes{0};
} // namespace

void* operator new(std::size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    const std::size_t live = g_liveBytes += malloc_usable_size(p);
    if (live > g_peakBytes.load(std::memory_order_relaxed))
        g_peakBytes.store(live, std::memory_order_relaxed);
    return p;
}

// This operator new takes its blocks from malloc, so free is the right release; GCC cannot
// see that through the replacement and warns.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept {
    if (p) {
        g_liveBytes -= malloc_usable_size(p);
        std::free(p);
    }
}
#pragma GCC diagnostic pop

void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}

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

// A file of one short track and then nothing but empty chunks, about 1 MB: format 1 reads the
// 65,535 declared chunks, format 0 reads every chunk and refuses the file past 65,536 tracks.
// peak_MB: the most the load held through operator new at any one time.
std::string EmptyChunks(int format) {
    SmfBuilder smf(format);
    smf.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(10, 0, 60).End();
    std::string chunks;
    for (int i = 0; i < (1 << 17); ++i)
        chunks += std::string("MTrk\0\0\0\0", 8);
    smf.DeclareTracks(format == 1 ? 65535 : 1).Trailer(chunks);
    return smf.Bytes();
}

void BM_LoadEmptyChunks(benchmark::State& state) {
    const std::string bytes = EmptyChunks(static_cast<int>(state.range(0)));
    CLSMIDIData song;
    std::size_t peak = 0;
    for (auto _ : state) {
        const std::size_t before = g_liveBytes.load();
        g_peakBytes.store(before);
        song.LoadFromMemory(bytes.data(), bytes.size(), "bench.mid");
        benchmark::DoNotOptimize(song.GetEvents().size());
        peak = std::max(peak, g_peakBytes.load() - before);
    }
    state.counters["file_MB"] = static_cast<double>(bytes.size()) / (1 << 20);
    state.counters["loaded"] = song.IsLoaded() ? 1 : 0;
    state.counters["peak_MB"] = static_cast<double>(peak) / (1 << 20);
}
BENCHMARK(BM_LoadEmptyChunks)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
