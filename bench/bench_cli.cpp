// tolvex-rename as a script runs it, in this process: paths NUL-separated on
// its standard input, one rule, output to /dev/null. The preview of a million
// files against a bare statx loop over them plus the bare rule loop; --apply
// of 100,000 files against a bare renameat2 loop.
#include "bench/BenchSupport.h"

#include "rules/CaseRules.h"
#include "runs/RenameRun.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include <fcntl.h>

namespace {

constexpr std::size_t PreviewCount = 1'000'000;
constexpr std::size_t ApplyCount = 100'000;

template <std::size_t Count>
struct CliFiles {
    ScratchFolder folder;
    std::vector<std::string> paths = samplePaths(folder.Path(), Count);
    std::string nulSeparated;

    CliFiles()
    {
        createEmptyFiles(paths);
        for (const std::string& path : paths)
            (nulSeparated += path) += '\0';
    }
};

int runCli(const Invocation& run, const std::string& input)
{
    std::FILE* in = fmemopen(const_cast<char*>(input.data()), input.size(), "r");
    std::FILE* out = std::fopen("/dev/null", "w");
    const int status = runRename(run, in, out, stderr);
    std::fclose(out);
    std::fclose(in);
    return status;
}

Invocation lowerCase(bool apply)
{
    Invocation run;
    run.readNulSeparated = true;
    run.rules.emplace_back(LowerCaseRule{});
    run.apply = apply;
    return run;
}

void PreviewTolvex(benchmark::State& state)
{
    const auto& files = sharedFixture<CliFiles<PreviewCount>>();
    const Invocation run = lowerCase(false);
    for (auto _ : state) {
        if (runCli(run, files.nulSeparated) != AllDone)
            state.SkipWithError("the preview saw failures");
    }
    state.SetItemsProcessed(state.iterations() * PreviewCount);
}

void PreviewBare(benchmark::State& state)
{
    const auto& files = sharedFixture<CliFiles<PreviewCount>>();
    for (auto _ : state) {
        statxAll(files.paths);
        std::size_t changed = 0;
        for (const std::string& path : files.paths)
            changed += lowerCaseName(path.substr(path.rfind('/') + 1, path.rfind('.'))) != path;
        benchmark::DoNotOptimize(changed);
    }
    state.SetItemsProcessed(state.iterations() * PreviewCount);
}

struct ApplyNames {
    std::vector<std::string> lowerPaths;
    explicit ApplyNames(const std::vector<std::string>& paths)
    {
        for (const std::string& path : paths) {
            const auto slash = path.rfind('/');
            lowerPaths.push_back(path.substr(0, slash + 1) + lowerCaseName(path.substr(slash + 1)));
        }
    }
};

void ApplyTolvex(benchmark::State& state)
{
    auto& files = sharedFixture<CliFiles<ApplyCount>>();
    static const ApplyNames renamed(files.paths);
    const Invocation run = lowerCase(true);
    for (auto _ : state) {
        if (runCli(run, files.nulSeparated) != AllDone)
            state.SkipWithError("a rename failed");
        state.PauseTiming();
        renameAll(renamed.lowerPaths, files.paths);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * ApplyCount);
}

void ApplyBare(benchmark::State& state)
{
    auto& files = sharedFixture<CliFiles<ApplyCount>>();
    static const ApplyNames renamed(files.paths);
    for (auto _ : state) {
        for (std::size_t i = 0; i < ApplyCount; ++i) {
            if (::renameat2(AT_FDCWD, files.paths[i].c_str(), AT_FDCWD, renamed.lowerPaths[i].c_str(),
                            RENAME_NOREPLACE) != 0)
                state.SkipWithError("renameat2 failed");
        }
        state.PauseTiming();
        renameAll(renamed.lowerPaths, files.paths);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * ApplyCount);
}

// A scratch folder on an ext4 image mounted through a loop device, where
// this machine lets root make one; else no folder, and the figure says so.
struct Ext4Folder {
    std::string image = "/tmp/tolvex-bench-ext4.img";
    std::string mountPoint = "/tmp/tolvex-bench-ext4";
    bool mounted = false;

    Ext4Folder()
    {
        const std::string make = "truncate -s 512M " + image + " && mkfs.ext4 -q -F " + image + " && mkdir -p "
            + mountPoint + " && mount -o loop " + image + " " + mountPoint + " 2>/dev/null";
        mounted = geteuid() == 0 && std::system(make.c_str()) == 0;
    }
    ~Ext4Folder()
    {
        if (mounted)
            std::system(("umount " + mountPoint).c_str());
        std::remove(image.c_str());
    }
};

// 100,000 files renamed back and forth, with a journal or without, in the
// folder the fixture gives.
template <typename Place>
struct JournalFiles {
    Place place;
    std::vector<std::string> paths;
    std::vector<std::string> lowerPaths;
    std::string nulSeparated;
    std::string journal;

    JournalFiles()
    {
        const std::string folder = folderOf(place);
        if (folder.empty())
            return;
        paths = samplePaths(folder, ApplyCount);
        createEmptyFiles(paths);
        lowerPaths = ApplyNames(paths).lowerPaths;
        for (const std::string& path : paths)
            (nulSeparated += path) += '\0';
        journal = folder + "journal";
    }

    static std::string folderOf(const ScratchFolder& folder) { return folder.Path(); }
    static std::string folderOf(const Ext4Folder& folder)
    {
        if (!folder.mounted)
            return {};
        const std::string path = folder.mountPoint + "/files/";
        std::system(("mkdir -p " + path).c_str());
        return path;
    }
};

template <typename Place, bool Journaled>
void ApplyJournal(benchmark::State& state)
{
    auto& files = sharedFixture<JournalFiles<Place>>();
    if (files.paths.empty()) {
        state.SkipWithError("no loop mount of an ext4 image here");
        return;
    }
    Invocation run = lowerCase(true);
    if (Journaled)
        run.journal = files.journal;
    for (auto _ : state) {
        if (runCli(run, files.nulSeparated) != AllDone)
            state.SkipWithError("a rename failed");
        state.PauseTiming();
        std::remove(files.journal.c_str());
        renameAll(files.lowerPaths, files.paths);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * ApplyCount);
}

} // namespace

BENCHMARK(ApplyJournal<ScratchFolder, true>)->Name("cli_journal_100k_tmpfs/tolvex")->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ApplyJournal<ScratchFolder, false>)->Name("cli_journal_100k_tmpfs/bare")->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ApplyJournal<Ext4Folder, true>)->Name("cli_journal_100k_ext4/tolvex")->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ApplyJournal<Ext4Folder, false>)->Name("cli_journal_100k_ext4/bare")->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PreviewTolvex)->Name("cli_preview_1M/tolvex")->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PreviewBare)->Name("cli_preview_1M/bare")->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ApplyTolvex)->Name("cli_apply_100k/tolvex")->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ApplyBare)->Name("cli_apply_100k/bare")->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);
