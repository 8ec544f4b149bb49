// Resident memory per row of a 1,000,000-row list: IMG_0001234.jpg in a
// 40-character folder, against a bare std::vector<std::string> of the same
// paths. Runs in a process of its own, and keeps everything it made until
// the end, so that no measurement reuses pages another one freed.
#include "bench/WindowFixture.h"

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

struct MissingWindow : WindowFixture {};
struct RealWindow : WindowFixture {};
struct BareStrings {
    std::vector<std::vector<std::string>> copies;
};

void reportPerRow(benchmark::State& state, std::size_t before, std::size_t after)
{
    state.counters["bytes_per_row"] = (double(after) - double(before)) / double(RowCount);
}

template <typename Window>
void rowsOf(benchmark::State& state, const std::vector<std::string>& paths)
{
    auto& fixture = sharedFixture<Window>();
    std::size_t before = 0;
    std::size_t after = 0;
    for (auto _ : state) {
        before = residentBytes();
        fixture.window.addFiles(paths);
        paintNow(*fixture.window.VT);
        after = residentBytes();
    }
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

} // namespace

BENCHMARK(MemoryTolvex)->Name("memory_1M_rows/tolvex")->Iterations(1)->Repetitions(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(MemoryBare)->Name("memory_1M_rows/bare")->Iterations(1)->Repetitions(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(MemoryRealFilesTolvex)->Name("memory_1M_rows_with_times/tolvex")->Iterations(1)->Repetitions(1)->UseRealTime()->Unit(benchmark::kMillisecond);
