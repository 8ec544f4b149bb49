// tolvex-rename --tag title over 10,000 tagged MP3 files, as a script runs
// it in this process: paths NUL-separated on its standard input, the preview
// to /dev/null. Against the least work that gives the same answer: a bare
// TagLib loop that opens each file as MP3 (no probing of its format),
// reads the title of its tags and writes the line.
#include "bench/BenchSupport.h"
#include "cli/LargeHeapPages.h"
#include "runs/RenameRun.h"
#include "tests/media/MediaFixture.h"

#include <taglib/mpegfile.h>

#include <cstdio>

namespace {

// The heap as tolvex-rename's main sets it up.
const bool heapSetUp = (useLargeHeapPages(), true);

constexpr std::size_t Count = 10'000;

struct TaggedSongs {
    ScratchFolder folder;
    std::vector<std::string> paths;
    std::string nulSeparated;

    TaggedSongs()
    {
        for (std::size_t i = 0; i < Count; ++i) {
            const std::string path = folder.Path() + "track" + std::to_string(i) + ".mp3";
            fixture::writeAudio(QByteArray::fromStdString(path),
                                {{"ARTIST", "The Band"}, {"ALBUM", "Live at the Hall"},
                                 {"TITLE", "Song number " + QByteArray::number(qulonglong(i))},
                                 {"TRACKNUMBER", QByteArray::number(qulonglong(i % 20 + 1))}, {"DATE", "1999"}});
            paths.push_back(path);
            (nulSeparated += path) += '\0';
        }
    }
};

void TitleTolvex(benchmark::State& state)
{
    const auto& songs = sharedFixture<TaggedSongs>();
    Invocation run;
    run.readNulSeparated = true;
    run.rules.emplace_back(AddCharactersRule{{}, {}, HeldField{"title", {}}});
    for (auto _ : state) {
        std::FILE* in = fmemopen(const_cast<char*>(songs.nulSeparated.data()), songs.nulSeparated.size(), "r");
        std::FILE* out = std::fopen("/dev/null", "w");
        if (runRename(run, in, out, stderr) != AllDone)
            state.SkipWithError("a title was not read");
        std::fclose(out);
        std::fclose(in);
    }
    state.SetItemsProcessed(state.iterations() * Count);
}

void TitleBare(benchmark::State& state)
{
    const auto& songs = sharedFixture<TaggedSongs>();
    for (auto _ : state) {
        std::FILE* out = std::fopen("/dev/null", "w");
        for (const std::string& path : songs.paths) {
            TagLib::MPEG::File song(path.c_str(), false);
            const std::string title = song.tag()->title().to8Bit(true);
            const std::string name = path.substr(path.rfind('/') + 1);
            std::fprintf(out, "%s → %s%s\n", path.c_str(), title.c_str(), name.c_str());
        }
        std::fclose(out);
    }
    state.SetItemsProcessed(state.iterations() * Count);
}

} // namespace

BENCHMARK(TitleTolvex)->Name("cli_tag_title_10k/tolvex")->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(TitleBare)->Name("cli_tag_title_10k/bare")->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);
