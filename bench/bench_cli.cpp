// tolvex-rename as a script runs it, in this process: paths NUL-separated on
// its standard input, one rule, output to /dev/null. Each against the least
// work that gives the same answer: for the preview of a million files, the
// paths read from standard input, their folder read once into a set of names, the rule and a
// look-up of each new name in that set, and a line written for each; for
// --apply of 100,000 files the same input, folder read and rule, and the
// renameat2 calls.
#include "bench/BenchSupport.h"
#include "cli/LargeHeapPages.h"

#include "rules/CaseRules.h"
#include "runs/RenameRun.h"

#include "text/MixedHash.h"

#include <bit>
#include <cstdio>
#include <dirent.h>
#include <string_view>
#include <cstdlib>
#include <unistd.h>

#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>

namespace {

// The heap as tolvex-rename's main sets it up.
const bool heapSetUp = (useLargeHeapPages(), true);

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
    // The journal's cost is a figure of its own (cli_journal_100k).
    run.noJournal = true;
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

// A folder's names side by side, and an open table of where each starts:
// the least a set of a million names costs (a node for each, as in
// std::unordered_set, costs more than the preview it stands beside).
class FlatNames {
public:
    void add(std::string_view name)
    {
        m_starts.push_back(std::uint32_t(m_bytes.size()));
        m_bytes.append(name).push_back('\0');
    }
    void index()
    {
        m_slots.assign(std::max<std::size_t>(16, std::bit_ceil(m_starts.size() * 2)), kEmpty);
        for (const std::uint32_t start : m_starts)
            m_slots[slotOf(nameAt(start))] = start;
    }
    bool contains(std::string_view name) const { return m_slots[slotOf(name)] != kEmpty; }
    template <typename Each>
    void forEach(Each&& each) const
    {
        for (const std::uint32_t start : m_starts)
            each(nameAt(start));
    }

private:
    static constexpr std::uint32_t kEmpty = ~std::uint32_t(0);
    std::string_view nameAt(std::uint32_t start) const { return std::string_view(m_bytes.data() + start); }
    std::size_t slotOf(std::string_view name) const
    {
        const std::size_t mask = m_slots.size() - 1;
        std::size_t slot = mixedHash(name) & mask;
        while (m_slots[slot] != kEmpty && nameAt(m_slots[slot]) != name)
            slot = (slot + 1) & mask;
        return slot;
    }

    std::string m_bytes;
    std::vector<std::uint32_t> m_starts;
    std::vector<std::uint32_t> m_slots;
};

// The names in the one folder of the paths, from one reading of it.
FlatNames namesIn(const std::string& folder)
{
    FlatNames names;
    DIR* dir = opendir(folder.c_str());
    while (const dirent* entry = dir ? readdir(dir) : nullptr)
        names.add(entry->d_name);
    if (dir)
        closedir(dir);
    names.index();
    return names;
}

// A script's standard input, read whole.
std::string readAll(const std::string& given)
{
    std::FILE* in = fmemopen(const_cast<char*>(given.data()), given.size(), "r");
    std::string input(given.size(), '\0');
    input.resize(std::fread(input.data(), 1, input.size(), in));
    std::fclose(in);
    return input;
}

// The paths of a NUL-separated input, as views into it.
std::vector<std::string_view> pathsIn(const std::string& input)
{
    std::vector<std::string_view> paths;
    for (std::size_t start = 0; start < input.size();) {
        const std::size_t end = input.find('\0', start);
        paths.emplace_back(input.data() + start, end - start);
        start = end + 1;
    }
    return paths;
}

void PreviewBare(benchmark::State& state)
{
    const auto& files = sharedFixture<CliFiles<PreviewCount>>();
    const std::string folder = files.paths.front().substr(0, files.paths.front().rfind('/') + 1);
    for (auto _ : state) {
        std::FILE* out = std::fopen("/dev/null", "w");
        const std::string input = readAll(files.nulSeparated);
        const std::vector<std::string_view> paths = pathsIn(input);
        const FlatNames names = namesIn(folder);
        std::size_t taken = 0;
        for (const std::string_view path : paths) {
            const std::string_view name = path.substr(path.rfind('/') + 1);
            const std::string_view stem = name.substr(0, name.rfind('.'));
            std::string newName = lowerCaseName(stem);
            newName.append(name.substr(stem.size()));
            taken += names.contains(newName);
            std::fwrite(path.data(), 1, path.size(), out);
            std::fputs(" → ", out);
            std::fwrite(newName.data(), 1, newName.size(), out);
            std::fputc('\n', out);
        }
        std::fclose(out);
        benchmark::DoNotOptimize(taken);
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
    const std::string folder = files.paths.front().substr(0, files.paths.front().rfind('/') + 1);
    for (auto _ : state) {
        const std::string input = readAll(files.nulSeparated);
        benchmark::DoNotOptimize(namesIn(folder).contains("x"));
        // The folder opened once, each rename by its names in it.
        const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        std::string oldName;
        std::string newName;
        for (const std::string_view path : pathsIn(input)) {
            const std::size_t slash = path.rfind('/') + 1;
            oldName.assign(path.substr(slash));
            newName = lowerCaseName(oldName);
            if (::renameat2(folderFd, oldName.c_str(), folderFd, newName.c_str(), RENAME_NOREPLACE) != 0)
                state.SkipWithError("renameat2 failed");
        }
        ::close(folderFd);
        state.PauseTiming();
        renameAll(renamed.lowerPaths, files.paths);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * ApplyCount);
}

// A scratch folder on an ext4 image mounted through a loop device, where
// this machine lets root make one; else no folder, and the figure says so.
// Each run makes its own, so that a run killed with its image mounted does
// not keep the next from mounting one.
struct Ext4Folder {
    std::string mountPoint;
    std::string image;
    bool mounted = false;

    Ext4Folder()
    {
        char place[] = "/tmp/tolvex-bench-ext4.XXXXXX";
        if (geteuid() != 0 || !::mkdtemp(place))
            return;
        mountPoint = place;
        image = mountPoint + ".img";
        const std::string make = "truncate -s 512M " + image + " && mkfs.ext4 -q -F -N 250000 " + image
            + " && mount -o loop " + image + " " + mountPoint + " 2>/dev/null";
        mounted = std::system(make.c_str()) == 0;
    }
    ~Ext4Folder()
    {
        if (mounted)
            std::system(("umount " + mountPoint).c_str());
        if (!mountPoint.empty()) {
            ::rmdir(mountPoint.c_str());
            std::remove(image.c_str());
        }
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

// 100,000 files numbered 0 to 99,999, and the plans that shift each up by
// one: in the order that fails but for the last (resolved), and in the
// working order, the highest first (applied as it stands).
struct ShiftFiles {
    static constexpr std::size_t Count = 100'000;
    ScratchFolder folder;
    std::vector<std::string> paths;
    std::vector<std::string> shifted;
    std::string upward = folder.Path() + "upward.json";
    std::string working = folder.Path() + "working.json";

    ShiftFiles()
    {
        for (std::size_t i = 0; i <= Count; ++i)
            (i < Count ? paths : shifted).push_back(folder.Path() + "n/" + std::to_string(i));
        shifted.insert(shifted.begin(), paths.begin() + 1, paths.end());
        std::system(("mkdir -p " + folder.Path() + "n").c_str());
        createEmptyFiles(paths);
        std::FILE* up = std::fopen(upward.c_str(), "w");
        std::FILE* down = std::fopen(working.c_str(), "w");
        for (std::size_t i = 0; i < Count; ++i) {
            std::fprintf(up, "{\"file\":\"%s\",\"new_name\":\"%zu\"}\n", paths[i].c_str(), i + 1);
            const std::size_t j = Count - 1 - i;
            std::fprintf(down, "{\"file\":\"%s\",\"new_name\":\"%zu\"}\n", paths[j].c_str(), j + 1);
        }
        std::fclose(up);
        std::fclose(down);
    }
};

template <bool Resolved>
void Shift(benchmark::State& state)
{
    auto& files = sharedFixture<ShiftFiles>();
    Invocation run;
    run.apply = true;
    run.noJournal = true;
    run.resolve = Resolved;
    run.fromJson = Resolved ? files.upward : files.working;
    for (auto _ : state) {
        if (runCli(run, {}) != AllDone)
            state.SkipWithError("a rename failed");
        state.PauseTiming();
        renameAll(files.shifted, files.paths);  // the lowest first, each name free in turn
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * ShiftFiles::Count);
}

} // namespace

// -R over a tree of 1,000,000 files in 1,000 folders, previewed, against
// the least a preview of the walk needs: each folder read once with
// getdents64 into a set of its names, the rule, a look-up of each new name
// and a line per file.
constexpr std::size_t TreeFolders = 1'000;
constexpr std::size_t TreeFiles = 1'000'000;

struct TreeFiles1M {
    ScratchFolder folder;
    std::string root = folder.Path() + "tree";

    TreeFiles1M()
    {
        ::mkdir(root.c_str(), 0755);
        for (std::size_t f = 0; f < TreeFolders; ++f) {
            const std::string sub = root + "/d" + std::to_string(f) + "/";
            ::mkdir(sub.c_str(), 0755);
            createEmptyFiles(samplePaths(sub, TreeFiles / TreeFolders));
        }
    }
};

int previewTree(const std::string& root)
{
    Invocation run = lowerCase(false);
    run.readNulSeparated = false;
    run.files = {root};
    run.tree.recursive = true;
    return runCli(run, {});
}

// The process's peak resident memory since the last reset, from VmHWM.
double peakResidentBytes()
{
    std::FILE* status = std::fopen("/proc/self/status", "r");
    char line[256];
    double kib = -1;
    while (status && std::fgets(line, sizeof line, status)) {
        if (std::sscanf(line, "VmHWM: %lf kB", &kib) == 1)
            break;
    }
    if (status)
        std::fclose(status);
    return kib * 1024;
}

// The peak resident memory a preview of the tree adds, per file: measured
// in a child process, its peak reset (it inherits the parent's) first.
double treeBytesPerFile(const std::string& root)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        // What the parent freed stays resident, and would hide what the
        // preview takes.
        ::malloc_trim(0);
        if (std::FILE* clear = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", clear);
            std::fclose(clear);
        }
        const double before = peakResidentBytes();
        previewTree(root);
        const double perFile = (peakResidentBytes() - before) / double(TreeFiles);
        ::write(channel[1], &perFile, sizeof perFile);
        ::_exit(0);
    }
    double perFile = -1;
    ::close(channel[1]);
    if (child < 0 || ::read(channel[0], &perFile, sizeof perFile) != sizeof perFile)
        perFile = -1;
    ::close(channel[0]);
    ::waitpid(child, nullptr, 0);
    return perFile;
}

void TreeTolvex(benchmark::State& state)
{
    const auto& files = sharedFixture<TreeFiles1M>();
    for (auto _ : state) {
        if (previewTree(files.root) != AllDone)
            state.SkipWithError("the preview saw failures");
    }
    state.SetItemsProcessed(state.iterations() * TreeFiles);
}

void TreeMemory(benchmark::State& state)
{
    const auto& files = sharedFixture<TreeFiles1M>();
    double perFile = -1;
    for (auto _ : state)
        perFile = treeBytesPerFile(files.root);
    if (perFile < 0)
        state.SkipWithError("the preview's child did not tell its memory");
    state.counters["bytes_per_row"] = perFile;
}

// The names of one folder with getdents64, each handed to `each` with its type.
template <typename Each>
void readEntries(int fd, Each&& each)
{
    alignas(8) char buffer[1 << 16];
    for (long got; (got = ::syscall(SYS_getdents64, fd, buffer, sizeof buffer)) > 0;) {
        for (long at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + at);
            at += entry->d_reclen;
            const std::string_view name(entry->d_name);
            if (name != "." && name != "..")
                each(name, entry->d_type);
        }
    }
}

void walkBare(int fd, std::string& path, std::FILE* out, std::size_t& taken)
{
    FlatNames names;
    std::vector<std::string> folders;
    readEntries(fd, [&](std::string_view name, unsigned char type) {
        if (type == DT_DIR)
            folders.emplace_back(name);
        else
            names.add(name);
    });
    names.index();
    names.forEach([&](std::string_view name) {
        const std::string_view stem = name.substr(0, name.rfind('.'));
        std::string newName = lowerCaseName(stem);
        newName.append(name.substr(stem.size()));
        taken += names.contains(newName);
        std::fwrite(path.data(), 1, path.size(), out);
        std::fwrite(name.data(), 1, name.size(), out);
        std::fputs(" → ", out);
        std::fwrite(newName.data(), 1, newName.size(), out);
        std::fputc('\n', out);
    });
    for (const std::string& folder : folders) {
        const int child = ::openat(fd, folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const std::size_t base = path.size();
        path += folder + '/';
        walkBare(child, path, out, taken);
        path.resize(base);
        ::close(child);
    }
}

void TreeBare(benchmark::State& state)
{
    const auto& files = sharedFixture<TreeFiles1M>();
    for (auto _ : state) {
        std::FILE* out = std::fopen("/dev/null", "w");
        const int fd = ::open(files.root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        std::string path = files.root + '/';
        std::size_t taken = 0;
        walkBare(fd, path, out, taken);
        ::close(fd);
        std::fclose(out);
        benchmark::DoNotOptimize(taken);
    }
    state.SetItemsProcessed(state.iterations() * TreeFiles);
}

BENCHMARK(Shift<true>)->Name("cli_resolve_100k_shift/tolvex")->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Shift<false>)->Name("cli_resolve_100k_shift/bare")->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ApplyJournal<ScratchFolder, true>)->Name("cli_journal_100k_tmpfs/tolvex")->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ApplyJournal<ScratchFolder, false>)->Name("cli_journal_100k_tmpfs/bare")->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ApplyJournal<Ext4Folder, true>)->Name("cli_journal_100k_ext4/tolvex")->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ApplyJournal<Ext4Folder, false>)->Name("cli_journal_100k_ext4/bare")->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(TreeTolvex)->Name("cli_tree_1M/tolvex")->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(TreeBare)->Name("cli_tree_1M/bare")->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(TreeMemory)->Name("cli_tree_1M_memory/tolvex")->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PreviewTolvex)->Name("cli_preview_1M/tolvex")->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PreviewBare)->Name("cli_preview_1M/bare")->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ApplyTolvex)->Name("cli_apply_100k/tolvex")->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ApplyBare)->Name("cli_apply_100k/bare")->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);
