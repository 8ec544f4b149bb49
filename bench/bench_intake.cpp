// Taking 100,000 real files into the list through the step both intakes
// share, against asking the kernel about each file and nothing else.
#include "bench/BenchSupport.h"

#include "listcore/ListCommands.h"
#include "listview/VirtualStringTree.h"

namespace {

constexpr std::size_t FileCount = 100'000;
constexpr int Iterations = 10;

struct IntakeFiles {
    ScratchFolder folder;
    std::vector<std::string> paths = samplePaths(folder.Path(), FileCount);

    IntakeFiles() { createEmptyFiles(paths); }
};

// A list as the window has it: shown at its size, every row's texts asked
// for when painted.
struct ShownList {
    TVirtualStringTree list;

    ShownList()
    {
        list.resize(432, 423);
        list.show();
        paintNow(list);
    }
};

void IntakeTolvex(benchmark::State& state)
{
    const auto& files = sharedFixture<IntakeFiles>();
    auto& shown = sharedFixture<ShownList>();
    for (auto _ : state) {
        state.PauseTiming();
        shown.list.ClearRows();
        paintNow(shown.list);
        state.ResumeTiming();
        appendFiles(shown.list.rows(), files.paths);
    }
    if (shown.list.rowCount() != FileCount)
        state.SkipWithError("rows missing");
    state.SetItemsProcessed(state.iterations() * FileCount);
}

void IntakeBare(benchmark::State& state)
{
    const auto& files = sharedFixture<IntakeFiles>();
    for (auto _ : state) {
        statxAll(files.paths);
    }
    state.SetItemsProcessed(state.iterations() * FileCount);
}

} // namespace

BENCHMARK(IntakeTolvex)->Name("intake_100k/tolvex")->Iterations(Iterations)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(IntakeBare)->Name("intake_100k/bare")->Iterations(Iterations)->UseRealTime()->Unit(benchmark::kMillisecond);
