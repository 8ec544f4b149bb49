// "Apply Rename" on 100,000 real files in a tmpfs folder, against a bare
// renameat2 loop over the same names. Only the renaming is timed: the files
// get their old names back, and the list is filled again, between runs.
#include "bench/WindowFixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <cstdio>

#include <fcntl.h>

namespace {

constexpr std::size_t FileCount = 100'000;
constexpr int Iterations = 5;
const QString Suffix = QStringLiteral("_r");

struct ApplyFiles {
    ScratchFolder folder;
    std::vector<std::string> paths = samplePaths(folder.Path(), FileCount);
    std::vector<std::string> renamedPaths;
    bool renamed = false;

    ApplyFiles()
    {
        createEmptyFiles(paths);
        renamedPaths.reserve(FileCount);
        for (const std::string& path : paths) {
            const auto dot = path.rfind('.');
            renamedPaths.push_back(path.substr(0, dot) + Suffix.toStdString() + path.substr(dot));
        }
    }

    void PutBack()
    {
        if (renamed)
            renameAll(renamedPaths, paths);
        renamed = false;
    }
};

void ApplyTolvex(benchmark::State& state)
{
    auto& files = sharedFixture<ApplyFiles>();
    auto& fixture = sharedFixture<WindowFixture>();
    TForm1& window = fixture.window;
    window.edAddChar->setText(Suffix);
    window.rbSuf->setChecked(true);
    for (auto _ : state) {
        state.PauseTiming();
        files.PutBack();
        fixture.Fill(files.paths);
        window.SpeedButton4->click();
        paintNow(*window.VT);
        state.ResumeTiming();
        window.BitBtn2->click();
        state.PauseTiming();
        files.renamed = true;
        if (!fixture.Silent(state, QStringLiteral("Rename Completed!")))
            break;
        state.ResumeTiming();
    }
    files.PutBack();
    window.BitBtn4->click();
    state.SetItemsProcessed(state.iterations() * FileCount);
}

void ApplyBare(benchmark::State& state)
{
    auto& files = sharedFixture<ApplyFiles>();
    for (auto _ : state) {
        state.PauseTiming();
        files.PutBack();
        state.ResumeTiming();
        std::size_t failed = 0;
        for (std::size_t i = 0; i < FileCount; ++i) {
            if (::renameat2(AT_FDCWD, files.paths[i].c_str(), AT_FDCWD, files.renamedPaths[i].c_str(),
                            RENAME_NOREPLACE) != 0)
                ++failed;
        }
        files.renamed = true;
        if (failed)
            state.SkipWithError("renameat2 failed");
    }
    files.PutBack();
    state.SetItemsProcessed(state.iterations() * FileCount);
}

} // namespace

BENCHMARK(ApplyTolvex)->Name("apply_100k/tolvex")->Iterations(Iterations)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ApplyBare)->Name("apply_100k/bare")->Iterations(Iterations)->UseRealTime()->Unit(benchmark::kMillisecond);
