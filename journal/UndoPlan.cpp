#include "journal/UndoPlan.h"

#include "apply/FolderMoves.h"
#include "disk/Folder.h"
#include "disk/FolderNames.h"
#include "disk/Folders.h"
#include "text/FileNames.h"

#include <algorithm>
#include <map>
#include <optional>
#include <sys/stat.h>
#include <unordered_map>

namespace {

// What stands at a path when the undo reaches a rename: the disk as it is,
// but for what taking back the journal's later renames will have moved.
class DiskAsUndone {
public:
    DiskAsUndone(Folders& folders, std::string temporaryPrefix)
        : m_folders(folders), m_prefix(std::move(temporaryPrefix))
    {
    }

    std::optional<struct stat> at(const std::string& path)
    {
        if (const auto moved = m_moved.find(path); moved != m_moved.end())
            return moved->second;
        const std::optional<std::string> now = onDiskNow(path);
        struct stat status;
        if (now && m_folders.of(FolderOfPath(*now)).look(NameOfPath(*now), status))
            return status;
        return std::nullopt;
    }

    // Where on the disk of today the undo will find what it then finds at
    // `path`, through the folders it will have renamed by then; nothing
    // where that is inside a folder it will have moved away.
    std::optional<std::string> onDiskNow(std::string path) const { return m_folderMoves.onDisk(std::move(path)); }

    void move(const std::string& from, const std::string& to)
    {
        const std::optional<struct stat> file = at(from);
        m_moved[from] = std::nullopt;
        m_moved[to] = file;
        if (file && S_ISDIR(file->st_mode))
            m_folderMoves.moved(from, to);
    }

    // The run's temporary names in `folder` that hold the file.
    std::vector<std::string> temporariesHolding(const std::string& folder, const FileMark& file)
    {
        std::vector<std::string> holding;
        if (m_prefix.empty())
            return holding;
        auto [names, added] = m_temporaries.try_emplace(folder);
        if (added) {
            const int fd = m_folders.of(onDiskNow(folder).value_or(folder)).fd();
            if (fd >= 0) {
                readFolder(fd, [&](std::string_view name, EntryKind) {
                    if (name.starts_with(m_prefix))
                        names->second.push_back(folder + std::string(name));
                });
            }
        }
        std::vector<std::string> candidates = names->second;
        for (auto it = m_moved.lower_bound(folder + m_prefix); it != m_moved.end() && it->first.starts_with(folder + m_prefix); ++it)
            candidates.push_back(it->first);
        for (const std::string& path : candidates) {
            const std::optional<struct stat> there = at(path);
            if (there && file.matches(*there) && std::find(holding.begin(), holding.end(), path) == holding.end())
                holding.push_back(path);
        }
        return holding;
    }

    Folders& folders() { return m_folders; }

private:
    Folders& m_folders;
    std::string m_prefix;
    std::map<std::string, std::optional<struct stat>> m_moved;
    FolderMoves m_folderMoves;  // in the undo's order
    std::unordered_map<std::string, std::vector<std::string>> m_temporaries;  // by folder, as first read
};

// What taking back one rename of the journal comes to.
struct Decision {
    enum Kind { Rename, Nothing, Refuse } kind = Rename;
    std::string from;  // for a rename: where the file is now
    std::string said;  // what the user hears of it
};

// Whether the journal's folder of `path` is the folder the undo will find
// there.
bool sameFolder(DiskAsUndone& disk, const std::string& path, std::uint64_t inode)
{
    const std::optional<std::string> now = disk.onDiskNow(std::string(FolderOfPath(path)));
    const Folder* folder = now ? &disk.folders().of(*now) : nullptr;
    return inode == 0 || (folder && folder->exists() && folder->identity().inode == inode);
}

// `origin`: the path the journal first has the file at, where its first
// rename took it from.
Decision decide(const JournalEntry& entry, const std::string& origin, DiskAsUndone& disk)
{
    const bool unknown = entry.outcome == JournalEntry::Outcome::Unknown;
    if (!entry.file.known())  // the first journals: done renames, by name
        return {Decision::Rename, entry.newPath, {}};
    // A journal is taken back only in the folders its run renamed in, where
    // their inode numbers tell.
    if (entry.file.stableInodes
        && (!sameFolder(disk, entry.oldPath, entry.folder) || !sameFolder(disk, entry.newPath, entry.newFolder)))
        return {Decision::Refuse, entry.newPath, "its folder is not the one the run renamed it in"};
    const std::optional<struct stat> atNew = disk.at(entry.newPath);
    if (atNew && entry.file.matches(*atNew))
        return {Decision::Rename, entry.newPath, unknown ? "the journal lacks its outcome; found under the new name" : ""};
    if (const std::optional<struct stat> atOld = disk.at(entry.oldPath); atOld && entry.file.matches(*atOld))
        return {Decision::Nothing, entry.newPath,
                unknown ? "the rename was never made; nothing to undo" : "it has its old name already"};
    if (const std::optional<struct stat> first = disk.at(origin); first && entry.file.matches(*first))
        return {Decision::Nothing, entry.newPath, "it has its first name back already"};
    if (!unknown)
        return {Decision::Refuse, entry.newPath,
                atNew ? "another file has its new name now; the file this run renamed is not there"
                      : "the file this run renamed is no longer under its new name"};
    // Stopped in the middle of a cycle, the file may be under a temporary
    // name of the run; else this rename was never made.
    const std::vector<std::string> held = disk.temporariesHolding(std::string(FolderOfPath(entry.oldPath)), entry.file);
    if (held.size() == 1)
        return {Decision::Rename, held.front(), "the journal lacks its outcome; found under the temporary name " + held.front()};
    if (held.size() > 1)
        return {Decision::Refuse, entry.newPath,
                "the journal lacks its outcome, and more than one temporary name could hold the file; left as it is"};
    return {Decision::Nothing, entry.newPath, "the rename was never made; nothing to undo"};
}

} // namespace

std::string UndoPlan::Files::shownNewName(std::uint32_t file) const
{
    const Move& move = m_moves[file];
    const std::string_view folder = FolderOfPath(move.from);
    return std::string_view(move.to).starts_with(folder) ? move.to.substr(folder.size()) : move.to;
}

std::uint32_t UndoPlan::Files::add(std::string from, std::string to, const FileMark& file)
{
    m_moves.push_back({std::move(from), std::move(to), file});
    return std::uint32_t(m_moves.size() - 1);
}

UndoPlan::UndoPlan(const JournalContents& journal, Folders& folders)
{
    DiskAsUndone disk(folders, journal.temporaryPrefix);
    std::map<FileIdentity, std::string> origins;
    for (const JournalEntry& entry : journal.entries)
        origins.try_emplace(entry.file.identity, entry.oldPath);
    for (auto entry = journal.entries.rbegin(); entry != journal.entries.rend(); ++entry) {
        if (entry->outcome == JournalEntry::Outcome::Failed)
            continue;
        Decision decision = decide(*entry, origins[entry->file.identity], disk);
        const std::uint32_t file = m_files.add(decision.from, entry->oldPath, entry->file);
        switch (decision.kind) {
        case Decision::Rename:
            m_plan.addPlanned(file, std::move(decision.said));
            disk.move(decision.from, entry->oldPath);
            break;
        case Decision::Nothing:
            m_plan.unchanged(file, std::move(decision.said));
            break;
        case Decision::Refuse:
            m_plan.refuse(file, std::move(decision.said));
            break;
        }
    }
}
