// "Apply Rename" on 100,000 real files in a tmpfs folder, against a bare
// renameat2 loop over the same names. Only the renaming is timed: the files
// get their old names back, and the list is filled again, between runs.
//
// "Apply Rename" on 1,000,000 files, the window kept alive meanwhile,
// against the same pass over the same list that handles no event until it
// ends; beside it the longest stretch of the kept-alive pass in which the
// event loop did not run, seen by a timer that fires whenever it does: the
// window repaints and answers the window manager at those moments only.
//
// Beside it, 10,000 changes of case in one folder of a file system that
// ignores case (played by the renameat2 seam), against 10,000 plain renames
// in the same folder, both through one RenameSession as a pass makes them.
#include "bench/BenchWindow.h"
#include "disk/Folders.h"
#include "disk/RenameSession.h"
#include "disk/SystemCalls.h"

#include "apply/ApplyPass.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cmath>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <strings.h>

#include <fcntl.h>

namespace {

constexpr std::size_t FileCount = 100'000;
constexpr std::size_t BigCount = 1'000'000;
constexpr int Iterations = 5;
const QString Suffix = QStringLiteral("_r");

template <std::size_t Count>
struct Files {
    ScratchFolder folder;
    std::vector<std::string> paths = samplePaths(folder.Path(), Count);
    std::vector<std::string> renamedPaths;
    bool renamed = false;

    Files()
    {
        createEmptyFiles(paths);
        renamedPaths.reserve(Count);
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

using ApplyFiles = Files<FileCount>;

void ApplyTolvex(benchmark::State& state)
{
    auto& files = sharedFixture<ApplyFiles>();
    auto& fixture = sharedFixture<BenchWindow>();
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
        // As the pass does: the folder opened once, each rename by its
        // names in it.
        std::size_t failed = 0;
        const std::string& first = files.paths.front();
        const std::size_t folderSize = first.rfind('/') + 1;
        const int folder = ::open(first.substr(0, folderSize).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        for (std::size_t i = 0; i < FileCount; ++i) {
            if (::renameat2(folder, files.paths[i].c_str() + folderSize, folder,
                            files.renamedPaths[i].c_str() + folderSize, RENAME_NOREPLACE) != 0)
                ++failed;
        }
        ::close(folder);
        files.renamed = true;
        if (failed)
            state.SkipWithError("renameat2 failed");
    }
    files.PutBack();
    state.SetItemsProcessed(state.iterations() * FileCount);
}

// The list of a big pass with every checked name given the suffix, the
// files back under their old names, painted: what the person sees before
// clicking.
void prepareBigPass(Files<BigCount>& files, BenchWindow& fixture)
{
    files.PutBack();
    fixture.Fill(files.paths);
    fixture.window.SpeedButton4->click();
    paintNow(*fixture.window.VT);
}

// The longest stretch of each kept-alive run, for the figure that shows it.
std::vector<double> longestStretches;

void BigApplyAlive(benchmark::State& state)
{
    auto& files = sharedFixture<Files<BigCount>>();
    auto& fixture = sharedFixture<BenchWindow>();
    TForm1& window = fixture.window;
    window.edAddChar->setText(Suffix);
    window.rbSuf->setChecked(true);
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        prepareBigPass(files, fixture);
        QElapsedTimer clock;
        clock.start();
        qint64 lastRun = 0;
        QTimer ticks;
        ticks.setTimerType(Qt::PreciseTimer);
        ticks.setInterval(1);
        QObject::connect(&ticks, &QTimer::timeout, [&] {
            longest = std::max(longest, double(clock.nsecsElapsed() - lastRun) / 1e9);
            lastRun = clock.nsecsElapsed();
        });
        ticks.start();
        state.ResumeTiming();
        lastRun = clock.nsecsElapsed();
        window.BitBtn2->click();
        longest = std::max(longest, double(clock.nsecsElapsed() - lastRun) / 1e9);
        state.PauseTiming();
        ticks.stop();
        files.renamed = true;
        if (!fixture.Silent(state, QStringLiteral("Rename Completed!")))
            break;
        state.ResumeTiming();
    }
    longestStretches.push_back(longest);
    files.PutBack();
    window.BitBtn4->click();
    state.SetItemsProcessed(state.iterations() * BigCount);
}

// The same pass over the same list, handling no event until it ends.
void BigApplyDeaf(benchmark::State& state)
{
    auto& files = sharedFixture<Files<BigCount>>();
    auto& fixture = sharedFixture<BenchWindow>();
    for (auto _ : state) {
        state.PauseTiming();
        prepareBigPass(files, fixture);
        state.ResumeTiming();
        const ApplyReport report = applyRenames(fixture.window.VT->rows());
        state.PauseTiming();
        files.renamed = true;
        if (!report.allRenamed()) {
            state.SkipWithError("a rename failed");
            break;
        }
        state.ResumeTiming();
    }
    files.PutBack();
    fixture.window.BitBtn4->click();
    state.SetItemsProcessed(state.iterations() * BigCount);
}

// Each run reports the longest stretch of the kept-alive run of the same
// number.
void BigApplyLongestStretch(benchmark::State& state)
{
    static std::size_t reported = 0;
    const std::size_t run = reported++;
    const bool measured = run < longestStretches.size();
    for (auto _ : state)
        state.SetIterationTime(measured ? longestStretches[run] : 0);
    if (!measured)
        state.SkipWithError("the kept-alive pass did not run");
}

constexpr std::size_t CaseOnlyCount = 10'000;

struct CaseOnlyFiles {
    ScratchFolder folder;
    std::vector<std::string> paths = samplePaths(folder.Path(), CaseOnlyCount);
    std::vector<std::string> lowerPaths;
    std::vector<std::string> renamedPaths;

    CaseOnlyFiles()
    {
        createEmptyFiles(paths);
        for (const std::string& path : paths) {
            std::string lower = path;
            for (std::size_t i = folder.Path().size(); i < lower.size(); ++i)
                lower[i] = char(std::tolower(static_cast<unsigned char>(lower[i])));
            lowerPaths.push_back(lower);
            const auto dot = path.rfind('.');
            renamedPaths.push_back(path.substr(0, dot) + "_r" + path.substr(dot));
        }
    }
};

const char* lastComponent(const char* path)
{
    const char* slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}

// A file system that ignores case, as far as renaming goes: the other
// spelling of a name answers for the file.
int caseIgnoringRenameAt2(int oldDirFd, const char* oldPath, int newDirFd, const char* newPath,
                          unsigned int flags)
{
    const char* oldName = lastComponent(oldPath);
    const char* newName = lastComponent(newPath);
    if (std::strcmp(oldName, newName) != 0 && strcasecmp(oldName, newName) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::renameat2(oldDirFd, oldPath, newDirFd, newPath, flags);
}

void renameThroughSession(benchmark::State& state, std::vector<std::string> CaseOnlyFiles::*targets)
{
    auto& files = sharedFixture<CaseOnlyFiles>();
    const RenameAt2Function saved = renameAt2Hook;
    renameAt2Hook = &caseIgnoringRenameAt2;
    for (auto _ : state) {
        std::size_t failed = 0;
        Folders folders;
        RenameSession session(folders);
        for (std::size_t i = 0; i < CaseOnlyCount; ++i)
            failed += !session.rename(files.paths[i], (files.*targets)[i]).succeeded();
        state.PauseTiming();
        renameAll(files.*targets, files.paths);
        state.ResumeTiming();
        if (failed) {
            state.SkipWithError("a rename failed");
            break;
        }
    }
    renameAt2Hook = saved;
    state.SetItemsProcessed(state.iterations() * CaseOnlyCount);
}

void CaseOnlyTolvex(benchmark::State& state)
{
    renameThroughSession(state, &CaseOnlyFiles::lowerPaths);
}

void CaseOnlyPlain(benchmark::State& state)
{
    renameThroughSession(state, &CaseOnlyFiles::renamedPaths);
}

} // namespace

BENCHMARK(ApplyTolvex)->Name("apply_100k/tolvex")->Iterations(Iterations)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ApplyBare)->Name("apply_100k/bare")->Iterations(Iterations)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BigApplyAlive)->Name("apply_1M_alive/tolvex")->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BigApplyDeaf)->Name("apply_1M_alive/bare")->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BigApplyLongestStretch)
    ->Name("apply_1M_longest_stretch/tolvex")
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(CaseOnlyTolvex)->Name("apply_10k_case_only/tolvex")->Iterations(20)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(CaseOnlyPlain)->Name("apply_10k_case_only/bare")->Iterations(20)->UseRealTime()->Unit(benchmark::kMillisecond);
