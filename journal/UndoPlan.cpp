#include "journal/UndoPlan.h"

#include "disk/Folder.h"
#include "disk/FolderNames.h"
#include "disk/Folders.h"
#include "text/FileNames.h"

#include <map>
#include <sys/stat.h>

namespace {

// The disk as it will be when the undo reaches a rename: as it is now, but
// for what taking back the journal's later renames will have moved.
class DiskAsUndone {
public:
    explicit DiskAsUndone(Folders& folders) : m_folders(folders) {}

    // The inode of the entry spelled exactly `path`; 0 when none is there.
    std::uint64_t inodeAt(const std::string& path)
    {
        if (const auto moved = m_moved.find(path); moved != m_moved.end())
            return moved->second;
        Folder& folder = m_folders.of(FolderOfPath(path));
        if (!folder.names().spelledExactly(NameOfPath(path)))
            return 0;
        struct stat status;
        return folder.look(NameOfPath(path), status) ? status.st_ino : std::uint64_t(-1);  // -1: there, inode unknown
    }

    void move(const std::string& from, const std::string& to)
    {
        const std::uint64_t inode = inodeAt(from);
        m_moved[from] = 0;
        m_moved[to] = inode;
    }

    Folders& folders() { return m_folders; }

private:
    Folders& m_folders;
    std::map<std::string, std::uint64_t> m_moved;
};

// A file of the run under one of its temporary names in `folder`: the one
// with the inode, or the only one.
std::string temporaryHolding(const std::string& folder, const std::string& prefix, std::uint64_t inode,
                             DiskAsUndone& disk)
{
    if (prefix.empty())
        return {};
    std::vector<std::string> names;
    Folder& held = disk.folders().of(folder);
    if (held.fd() < 0)
        return {};
    readFolder(held.fd(), [&](std::string_view name, EntryKind) {
        if (name.starts_with(prefix))
            names.emplace_back(name);
    });
    std::erase_if(names, [&](const std::string& name) { return disk.inodeAt(folder + name) == 0; });
    for (const std::string& name : names) {
        if (inode != 0 && disk.inodeAt(folder + name) == inode)
            return folder + name;
    }
    return names.size() == 1 ? folder + names.front() : std::string();
}

// Where a rename the journal has no outcome for left the file, on the disk
// as the undo will find it: the path it is at, what was found, and whether
// there is anything to take back.
struct Found {
    std::string from;
    std::string said;
    bool moved = true;
};

Found whereNow(const JournalEntry& entry, const std::string& prefix, DiskAsUndone& disk)
{
    const std::uint64_t atNew = disk.inodeAt(entry.newPath);
    const std::uint64_t atOld = disk.inodeAt(entry.oldPath);
    const std::uint64_t inode = entry.file.inode;
    const bool known = inode != 0;
    if (atNew && (known ? atNew == inode : !atOld))
        return {entry.newPath, "the journal lacks its outcome; found under the new name"};
    if (atOld && (!known || atOld == inode))
        return {entry.newPath, "the journal lacks its outcome; it kept its old name", false};
    const std::string held = temporaryHolding(std::string(FolderOfPath(entry.oldPath)), prefix, inode, disk);
    if (!held.empty())
        return {held, "the journal lacks its outcome; found under the temporary name " + held};
    if (atOld && atNew)
        return {entry.newPath,
                "the journal lacks its outcome; found under neither name, only other files under both; left as it is",
                false};
    return {entry.newPath, "the journal lacks its outcome; found under neither name"};
}

} // namespace

std::string UndoPlan::Files::shownNewName(std::uint32_t file) const
{
    const auto& [from, to] = m_moves[file];
    const std::string_view folder = FolderOfPath(from);
    return std::string_view(to).starts_with(folder) ? to.substr(folder.size()) : to;
}

std::uint32_t UndoPlan::Files::add(std::string from, std::string to)
{
    m_moves.emplace_back(std::move(from), std::move(to));
    return std::uint32_t(m_moves.size() - 1);
}

UndoPlan::UndoPlan(const JournalContents& journal, Folders& folders)
{
    DiskAsUndone disk(folders);
    for (auto entry = journal.entries.rbegin(); entry != journal.entries.rend(); ++entry) {
        switch (entry->outcome) {
        case JournalEntry::Outcome::Failed:
            continue;
        case JournalEntry::Outcome::Done:
            m_plan.addPlanned(m_files.add(entry->newPath, entry->oldPath));
            disk.move(entry->newPath, entry->oldPath);
            break;
        case JournalEntry::Outcome::Unknown: {
            Found found = whereNow(*entry, journal.temporaryPrefix, disk);
            const std::uint32_t file = m_files.add(found.from, entry->oldPath);
            if (!found.moved) {
                m_plan.unchanged(file, std::move(found.said));
                break;
            }
            m_plan.addPlanned(file, std::move(found.said));
            disk.move(found.from, entry->oldPath);
            break;
        }
        }
    }
}
