// Resident memory per row of a 1,000,000-row list: IMG_0001234.jpg in a
// 40-character folder, against a bare std::vector<std::string> of the same
// paths. Runs in a process of its own, and keeps everything it made until
// the end, so that no measurement reuses pages another one freed.
#include "bench/BenchWindow.h"

#include <QLineEdit>
#include <QToolButton>

namespace {

constexpr std::size_t RowCount = 1'000'000;

struct MissingPaths {
    std::vector<std::string> paths = samplePaths(MissingFolder, RowCount);
};

// Real files: the rows carry their three time texts too.
struct RealFiles {
    ScratchFolder folder;
    std::vector<std::string> paths = samplePaths(folder.Path(), RowCount);

    RealFiles() { createEmptyFiles(paths); }
};

struct MissingWindow : BenchWindow {};
struct RealWindow : BenchWindow {};
struct RenamedWindow : BenchWindow {};
struct BareStrings {
    std::vector<std::vector<std::string>> copies;
};

void reportPerRow(benchmark::State& state, std::size_t before, std::size_t after)
{
    state.counters["bytes_per_row"] = (double(after) - double(before)) / double(RowCount);
}

// The list's memory per row after it took in the paths and, when asked,
// after a rule gave every row a proposed name of its own.
template <typename Window>
void rowsOf(benchmark::State& state, const std::vector<std::string>& paths, bool renamed = false)
{
    auto& fixture = sharedFixture<Window>();
    TForm1& window = fixture.window;
    std::size_t before = 0;
    std::size_t after = 0;
    for (auto _ : state) {
        before = residentBytes();
        window.addFiles(paths);
        if (renamed) {
            window.edAddChar->setText(QStringLiteral("Holiday "));
            window.SpeedButton4->click();
        }
        paintNow(*window.VT);
        after = residentBytes();
    }
    if (renamed && window.VT->RowData(window.VT->FirstRow())->NewName() != "Holiday IMG_0000000")
        state.SkipWithError("the rule did not rename");
    reportPerRow(state, before, after);
}

void MemoryTolvex(benchmark::State& state)
{
    rowsOf<MissingWindow>(state, sharedFixture<MissingPaths>().paths);
}

void MemoryBare(benchmark::State& state)
{
    const auto& paths = sharedFixture<MissingPaths>().paths;
    auto& bare = sharedFixture<BareStrings>();
    std::size_t before = 0;
    std::size_t after = 0;
    for (auto _ : state) {
        before = residentBytes();
        bare.copies.push_back(paths);
        after = residentBytes();
    }
    reportPerRow(state, before, after);
}

void MemoryRealFilesTolvex(benchmark::State& state)
{
    rowsOf<RealWindow>(state, sharedFixture<RealFiles>().paths);
}

void MemoryRenamedTolvex(benchmark::State& state)
{
    rowsOf<RenamedWindow>(state, sharedFixture<RealFiles>().paths, true);
}

} // namespace

BENCHMARK(MemoryTolvex)->Name("memory_1M_rows/tolvex")->Iterations(1)->Repetitions(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(MemoryBare)->Name("memory_1M_rows/bare")->Iterations(1)->Repetitions(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(MemoryRealFilesTolvex)->Name("memory_1M_rows_with_times/tolvex")->Iterations(1)->Repetitions(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(MemoryRenamedTolvex)->Name("memory_1M_rows_renamed/tolvex")->Iterations(1)->Repetitions(1)->UseRealTime()->Unit(benchmark::kMillisecond);
