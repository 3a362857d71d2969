// Adding 10 000 and 100 000 songs to the playlist (by Add, which looks at the disk, by
// AppendSong, which does not, and from a folder of 10 000 songs) and saving them as a playlist
// file: time, and the heap the playlist holds (glibc's count of bytes in use) next to the
// process's peak resident size. The array grows 16 slots at a time, so these runs show whether
// relocating the entries stays cheap.
#include "playlist/CLSPlayList.h"

#include "fixtures/TestPaths.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <string>
#include <sys/resource.h>

namespace {

constexpr int kSongs = 100000;

std::string SongPath(int i) {
    return "/home/user/music/collection " + std::to_string(i / 1000) + "/song number " +
           std::to_string(i) + ".mid";
}

double HeapInUse() {
    return static_cast<double>(mallinfo2().uordblks);
}

double PeakResident() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) * 1024.0;
}

void AddSongs(CLSPlayList& list, int count) {
    for (int i = 0; i < count; ++i)
        list.Add(CLSTString(SongPath(i).c_str()), false);
}

void BM_AddSongs(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    double heap = 0;
    for (auto _ : state) {
        const double before = HeapInUse();
        CLSPlayList list;
        AddSongs(list, count);
        heap = HeapInUse() - before;
        benchmark::DoNotOptimize(list.Count());
    }
    state.counters["heap_MB"] = heap / 1e6;
    state.counters["bytes_per_song"] = heap / count;
    state.counters["peak_rss_MB"] = PeakResident() / 1e6;
}
BENCHMARK(BM_AddSongs)->Arg(10000)->Arg(kSongs)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_AppendSongs(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        CLSPlayList list;
        for (int i = 0; i < count; ++i)
            list.AppendSong(CLSTString(SongPath(i).c_str()));
        benchmark::DoNotOptimize(list.Count());
    }
}
BENCHMARK(BM_AppendSongs)->Arg(10000)->Arg(kSongs)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_AddFolder(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    TempDir dir;
    for (int i = 0; i < count; ++i)
        WriteFileBytes(dir.File("song " + std::to_string(i) + ".mid"), "");
    for (auto _ : state) {
        CLSPlayList list;
        list.Add(CLSTString(dir.Path().c_str()), false);
        benchmark::DoNotOptimize(list.Count());
    }
}
BENCHMARK(BM_AddFolder)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_SavePlayList(benchmark::State& state) {
    TempDir dir;
    CLSPlayList list;
    AddSongs(list, kSongs);
    const std::string path = dir.File("all.m3u");
    for (auto _ : state)
        benchmark::DoNotOptimize(list.SaveToFile(path.c_str()));
    state.counters["file_MB"] = static_cast<double>(ReadFileBytes(path).size()) / 1e6;
}
BENCHMARK(BM_SavePlayList)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReadPlayListFile(benchmark::State& state) {
    TempDir dir;
    std::string text;
    for (int i = 0; i < kSongs; ++i)
        text += SongPath(i) + "\r\n";
    const std::string path = dir.File("all.m3u");
    WriteFileBytes(path, text);
    for (auto _ : state) {
        CLSPlayList list;
        list.Add(CLSTString(path.c_str()), false);
        benchmark::DoNotOptimize(list.Count());
    }
}
BENCHMARK(BM_ReadPlayListFile)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
