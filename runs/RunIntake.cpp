#include "runs/RunIntake.h"

#include "disk/Folder.h"
#include "disk/FolderNames.h"
#include "disk/Folders.h"
#include "listcore/FileIntake.h"
#include "listcore/RowStore.h"
#include "text/FileNames.h"

#include <algorithm>
#include <unordered_map>

namespace {

// The paths of the command line, then those of standard input, each ended
// by a NUL, as one block of bytes; an empty path is no path.
struct PathList {
    std::string bytes;

    template <typename Visit>
    void forEach(Visit&& visit) const
    {
        for (std::size_t start = 0; start < bytes.size();) {
            const std::size_t end = std::min(bytes.find('\0', start), bytes.size());
            if (end > start)
                visit(std::string_view(bytes).substr(start, end - start));
            start = end + 1;
        }
    }
};

PathList pathsOf(const Invocation& run, std::FILE* in)
{
    PathList paths;
    for (const std::string& path : run.files)
        (paths.bytes += path) += '\0';
    if (!run.readNulSeparated)
        return paths;
    std::string& bytes = paths.bytes;
    constexpr std::size_t chunk = 1 << 16;
    for (std::size_t size = bytes.size();;) {
        bytes.resize(size + chunk);
        const std::size_t got = std::fread(bytes.data() + size, 1, chunk, in);
        size += got;
        if (got == 0) {
            bytes.resize(size);
            break;
        }
    }
    return paths;
}

// Whether the order or a rule of the run reads the files' own times.
bool readsFileTimes(const Invocation& run)
{
    const auto readsTimes = [](const CommandLineRule& rule) {
        const auto* date = std::get_if<AddDateTimeRule>(&rule);
        return date && date->source != DateTimeSource::CurrentTime && date->source != DateTimeSource::PictureTaken;
    };
    return run.order == RowOrder::Modified || std::any_of(run.rules.begin(), run.rules.end(), readsTimes);
}

} // namespace

void takeFiles(const Invocation& run, std::FILE* in, RowStore& rows, Folders& folders)
{
    constexpr std::size_t manyFromOneFolder = 64;
    const PathList paths = pathsOf(run, in);
    std::unordered_map<std::string_view, std::size_t> perFolder;
    if (!readsFileTimes(run))
        paths.forEach([&](std::string_view path) { ++perFolder[FolderOfPath(path)]; });
    FileIntake intake(rows);
    std::string path;
    paths.forEach([&](std::string_view given) {
        path.assign(given);
        const std::string_view folder = FolderOfPath(path);
        const auto count = perFolder.find(folder);
        if (count == perFolder.end() || count->second < manyFromOneFolder) {
            intake.addDropped(path);
            return;
        }
        switch (folders.of(folder).names().kindUnlessFile(NameOfPath(path))) {
        case FolderNames::Kind::Missing:
        case FolderNames::Kind::File:
            intake.addLooked(path, {});
            break;
        case FolderNames::Kind::Folder:
            break;
        case FolderNames::Kind::Unknown:
            intake.addDropped(path);
            break;
        }
    });
}

void takePlan(const std::vector<PlannedName>& plan, RowStore& rows)
{
    rows.setEntryForm(EntryForm::Joined);
    FileIntake intake(rows);
    for (const auto& [path, newName] : plan) {
        const std::size_t before = rows.rowCount();
        intake.addDropped(path);
        if (rows.rowCount() > before)
            rows.rowAt(before).Data.setNewName(newName);
    }
}

