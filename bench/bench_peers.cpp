// tolvex-rename beside the command-line renamers people use, each run as the
// program it is on the same 100,000 files in one folder, giving each the
// prefix X_ (IMG_… → X_IMG_…), each from a fresh start and judged by the
// wall clock: mmv, which matches the folder against a pattern itself, and
// perl's rename, which takes the names on standard input as tolvex-rename
// does. tolvex-rename keeps its journal, as it does by default.
#include "bench/BenchSupport.h"

#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr std::size_t PeerCount = 100'000;

struct PeerFiles {
    ScratchFolder folder;
    std::vector<std::string> paths = samplePaths(folder.Path() + "f/", PeerCount);
    std::vector<std::string> prefixed;
    std::string list = folder.Path() + "list";
    std::string state = folder.Path() + "state";

    PeerFiles()
    {
        std::system(("mkdir -p " + folder.Path() + "f " + state).c_str());
        createEmptyFiles(paths);
        std::FILE* names = std::fopen(list.c_str(), "w");
        for (const std::string& path : paths) {
            const std::string name = path.substr(path.rfind('/') + 1);
            prefixed.push_back(folder.Path() + "f/X_" + name);
            std::fwrite(name.c_str(), 1, name.size() + 1, names);
        }
        std::fclose(names);
    }
};

// Runs the program in the files' folder, standard input from the list when
// asked; its exit status, or -1.
int runPeer(const PeerFiles& files, std::vector<std::string> arguments, bool listOnInput)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, listOnInput ? files.list.c_str() : "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addchdir_np(&actions, (files.folder.Path() + "f").c_str());
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<std::string> variables{"XDG_STATE_HOME=" + files.state, "LC_ALL=C.UTF-8", "PATH=/usr/bin:/bin"};
    std::vector<char*> envp;
    for (std::string& variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    pid_t child = -1;
    const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

void runPeers(benchmark::State& state, const char* program, std::vector<std::string> arguments, bool listOnInput)
{
    auto& files = sharedFixture<PeerFiles>();
    if (std::system(("command -v " + std::string(program) + " >/dev/null").c_str()) != 0) {
        state.SkipWithError((std::string(program) + " is not installed (bench.sh installs it)").c_str());
        return;
    }
    for (auto _ : state) {
        if (runPeer(files, arguments, listOnInput) != 0)
            state.SkipWithError("the renames failed");
        state.PauseTiming();
        renameAll(files.prefixed, files.paths);
        std::system(("rm -rf " + files.state + "/*").c_str());
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * PeerCount);
}

void PeerTolvex(benchmark::State& state)
{
    runPeers(state, TOLVEX_RENAME_PATH, {TOLVEX_RENAME_PATH, "-0", "--add", "X_", "--apply"}, true);
}

void PeerMmv(benchmark::State& state)
{
    runPeers(state, "mmv", {"mmv", "IMG_*", "X_IMG_#1"}, false);
}

void PeerPerlRename(benchmark::State& state)
{
    runPeers(state, "rename", {"rename", "-0", "s/^/X_/"}, true);
}

} // namespace

BENCHMARK(PeerTolvex)->Name("peers_100k_mmv/tolvex")->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PeerMmv)->Name("peers_100k_mmv/bare")->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PeerTolvex)->Name("peers_100k_rename/tolvex")->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PeerPerlRename)->Name("peers_100k_rename/bare")->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
