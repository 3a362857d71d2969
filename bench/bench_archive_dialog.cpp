// The archive chooser over a large archive: listing, sorting and filling the list, the way the
// user waits for it when the dialog opens. Runs under the offscreen platform.
#include "playlist/ArchiveListing.h"
#include "playlist/ui/CLSArchiveDialog.h"

#include "backends/PlatformBackends.h"
#include "fixtures/ArchiveBuilder.h"
#include "fixtures/TestPaths.h"

#include <QApplication>
#include <QListWidget>

#include <benchmark/benchmark.h>
#include <string>
#include <vector>

namespace {

const TempDir& Folder() {
    static const TempDir dir;
    return dir;
}

// Members in scattered name order, as archives made over years hold them.
const std::string& LargeArchive(int members) {
    static std::string path;
    if (path.empty()) {
        std::vector<ArchiveMember> list;
        list.reserve(static_cast<std::size_t>(members));
        for (int i = 0; i < members; ++i) {
            const int scattered = (i * 7919) % members;
            list.push_back({"songs/folder " + std::to_string(scattered % 50) + "/track " +
                                std::to_string(scattered) + ".mid",
                            "x"});
        }
        path = Folder().File("large.zip");
        WriteZip(path, list, true);
    }
    return path;
}

void BM_ListMembers(benchmark::State& state) {
    const CLSTString path(LargeArchive(static_cast<int>(state.range(0))).c_str());
    for (auto _ : state) {
        CLSTStringArray names;
        ListArchiveMembers(nullptr, path, "*.mid", names);
        SortMemberNames(names);
        benchmark::DoNotOptimize(names.size());
    }
}
BENCHMARK(BM_ListMembers)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_DialogOpens(benchmark::State& state) {
    const CLSTString path(LargeArchive(static_cast<int>(state.range(0))).c_str());
    CLSArchiveDialog dialog;
    for (auto _ : state) {
        dialog.Prepare(nullptr, path, 400, 300);
        dialog.show();
        QApplication::processEvents(); // the list lays out and paints its first rows
        state.PauseTiming();
        if (dialog.List()->count() != state.range(0))
            state.SkipWithError("not every member listed");
        dialog.hide();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DialogOpens)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    InstallPlatformBackends();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
