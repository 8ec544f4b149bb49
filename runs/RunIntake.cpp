#include "runs/RunIntake.h"

#include "disk/Folder.h"
#include "disk/FolderNames.h"
#include "disk/Folders.h"
#include "listcore/FileIntake.h"
#include "listcore/RowStore.h"
#include "runs/TreeWalk.h"
#include "text/FileNames.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

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

// The rows of folders given, and what -R finds below them.
class FolderIntake {
public:
    FolderIntake(const Invocation& run, RowStore& rows, Folders& folders, FileIntake& intake, IntakeRefusals& refusals)
        : m_tree(run.tree)
        , m_times(readsFileTimes(run))
        , m_rows(rows)
        , m_intake(intake)
        , m_refusals(refusals)
        , m_walk(run.tree, run.order, folders, [this](std::string_view path, TreeWalk::Found found, std::string_view why) {
            if (found == TreeWalk::Found::Unreadable)
                refuse(std::string(path), "could not be read: " + std::string(why));
            else
                add(path, found == TreeWalk::Found::Folder);
        })
    {
    }

    void take(std::string_view given)
    {
        const std::string folder = folderAsGiven(given);
        if (!m_tree.walks())
            return refuse(folder, kFolderGiven);
        if (m_tree.recursive)
            m_walk.walk(folder);
        // What names no entry of a folder cannot be renamed.
        const std::string_view name = NameOfPath(folder);
        if (m_tree.folders && !name.empty() && name != "." && name != "..")
            add(folder, true);
    }

    void add(std::string_view path, bool folder)
    {
        if (m_times)
            m_intake.addChosen(std::string(path));
        else
            m_intake.addLooked(path, {});
        // A folder's whole name is its own: it has no extension to keep.
        if (folder)
            m_rows.rowAt(m_rows.rowCount() - 1).Data.setForm(EntryForm::Joined);
    }

    void refuse(const std::string& path, std::string reason)
    {
        m_intake.addChosen(path);
        m_rows.rowAt(m_rows.rowCount() - 1).CheckState = csUncheckedNormal;
        m_refusals.insert_or_assign(path, std::move(reason));
    }

private:
    const TreeChoice& m_tree;
    bool m_times;
    RowStore& m_rows;
    FileIntake& m_intake;
    IntakeRefusals& m_refusals;
    TreeWalk m_walk;
};

} // namespace

IntakeRefusals takeFiles(const Invocation& run, std::FILE* in, RowStore& rows, Folders& folders)
{
    constexpr std::size_t manyFromOneFolder = 64;
    const PathList paths = pathsOf(run, in);
    std::unordered_map<std::string_view, std::size_t> perFolder;
    if (!readsFileTimes(run))
        paths.forEach([&](std::string_view path) { ++perFolder[FolderOfPath(path)]; });
    FileIntake intake(rows);
    IntakeRefusals refusals;
    FolderIntake folderIntake(run, rows, folders, intake, refusals);
    std::string path;
    paths.forEach([&](std::string_view given) {
        path.assign(given);
        const std::string_view folder = FolderOfPath(path);
        const auto count = perFolder.find(folder);
        FileLookup lookup;
        if (count == perFolder.end() || count->second < manyFromOneFolder || NameOfPath(path).empty()) {
            lookup = lookUpFile(path);
        } else {
            switch (folders.of(folder).names().kindUnlessFile(NameOfPath(path))) {
            case FolderNames::Kind::Missing:
            case FolderNames::Kind::File:
                break;
            case FolderNames::Kind::Folder:
                lookup.isFolder = true;
                break;
            case FolderNames::Kind::Unknown:
                lookup = lookUpFile(path);
                break;
            }
        }
        if (lookup.isFolder)
            folderIntake.take(path);
        else
            intake.addLooked(path, lookup);
    });
    return refusals;
}

IntakeRefusals takePlan(const std::vector<PlannedName>& plan, RowStore& rows, bool folders)
{
    rows.setEntryForm(EntryForm::Joined);
    FileIntake intake(rows);
    IntakeRefusals refusals;
    for (const auto& [path, newName] : plan) {
        FileLookup lookup = lookUpFile(path);
        const bool folder = std::exchange(lookup.isFolder, false);
        intake.addLooked(path, lookup);
        ListRow& row = rows.rowAt(rows.rowCount() - 1);
        row.Data.setNewName(newName);
        if (folder && !folders) {
            row.CheckState = csUncheckedNormal;
            refusals.insert_or_assign(path, kFolderGiven);
        }
    }
    return refusals;
}

std::vector<RowRefusal> refusalsOf(RowStore& rows, const IntakeRefusals& refusals)
{
    std::vector<RowRefusal> inOrder;
    if (refusals.empty())
        return inOrder;
    for (std::size_t index = 0; index < rows.rowCount(); ++index) {
        const ListRow& row = rows.row(index);
        if (isChecked(row))
            continue;
        if (const auto found = refusals.find(row.Data.path()); found != refusals.end())
            inOrder.push_back({std::uint32_t(index), found->second});
    }
    return inOrder;
}
