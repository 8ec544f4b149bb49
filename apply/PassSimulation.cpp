#include "apply/PassSimulation.h"

#include "apply/DiskView.h"
#include "apply/RenamePass.h"
#include "disk/RenameSession.h"
#include "listcore/FileNames.h"
#include "listcore/ListRow.h"

namespace {

RenameOutlook fails(std::string newName, std::string reason)
{
    return {RenameOutlook::Kind::Fails, std::move(newName), std::move(reason)};
}

} // namespace

RenameOutlook PassSimulation::next(const ListRow& row)
{
    const FileEntry& entry = row.Data;
    std::string newName = entry.newFileName();
    if (!isChecked(row))
        return {RenameOutlook::Kind::Unchecked, std::move(newName), {}};
    return rename(entry.path(), entry.newPath(), std::move(newName));
}

// Each check in the order the pass and the file system meet it.
RenameOutlook PassSimulation::rename(const std::string& oldPath, const std::string& newPath, std::string newName,
                                     bool planned)
{
    if (const char* refusal = refusalOfNewName(newPath))
        return fails(std::move(newName), refusal);
    if (oldPath == newPath)
        return {RenameOutlook::Kind::Unchanged, std::move(newName), {}};

    const std::uint64_t oldKey = PathSet::hashOf(m_disk.key(oldPath, m_folded));
    const std::string_view sourceFolder = FolderOfPath(oldPath);
    const DiskView::Look oldLook = m_disk.look(sourceFolder, NameOfPath(oldPath));
    const std::uint8_t oldMarks = marks(oldLook, oldKey);
    if (planned) {
        const bool there = (oldMarks & PathSet::Placed) || (!(oldMarks & PathSet::MovedAway) && oldLook.held);
        if (!there)
            return fails(std::move(newName), "the file is no longer on disk");
    } else if (oldMarks & PathSet::MovedAway) {
        return fails(std::move(newName), kMovedEarlier);
    } else if (oldMarks & PathSet::Placed) {
        return fails(std::move(newName), kTakenEarlier);
    } else if (!oldLook.held) {
        return fails(std::move(newName), "the file is no longer on disk");
    }

    const std::string_view targetFolder = FolderOfPath(newPath);
    const std::string_view targetName = NameOfPath(newPath);
    const DiskView::Folder& target = m_disk.folder(targetFolder);
    if (!target.exists)
        return fails(std::move(newName),
                     "the folder \"" + std::string(FolderOfPath(newName)) + "\" it names does not exist");
    const DiskView::Folder& source = m_disk.folder(sourceFolder);
    if (source.device != target.device)
        return fails(std::move(newName), "the new name is on another file system");
    if (target.rules.nameMax() > 0 && targetName.size() > std::size_t(target.rules.nameMax()))
        return fails(std::move(newName), "the name is too long for the file system: "
                                             + std::to_string(targetName.size()) + " bytes, at most "
                                             + std::to_string(target.rules.nameMax()));
    if (std::string refusal = target.rules.refusal(targetName); !refusal.empty())
        return fails(std::move(newName), std::move(refusal));

    const std::uint64_t newKey = PathSet::hashOf(m_disk.key(newPath, m_folded));
    const DiskView::Look newLook = m_disk.look(targetFolder, targetName);
    const std::uint8_t newMarks = marks(newLook, newKey);
    if (newMarks & PathSet::Placed)
        return fails(std::move(newName), "a row earlier in the list proposes the same name");
    // Where case is ignored, a change of case only finds the file itself,
    // unless the folder lists the new spelling as an entry of its own.
    const bool itself = newKey == oldKey && !m_disk.spelledExactly(targetFolder, targetName);
    if (!itself && !(newMarks & PathSet::MovedAway) && newLook.held)
        return fails(std::move(newName), "a file of that name already exists in the folder");
    if (!source.writable || !target.writable)
        return fails(std::move(newName), "the folder cannot be written to");

    mark(oldLook, oldKey, PathSet::MovedAway);
    mark(newLook, newKey, PathSet::Placed);
    return {RenameOutlook::Kind::Renames, std::move(newName), {}};
}

std::uint8_t PassSimulation::marks(const DiskView::Look& look, std::uint64_t key) const
{
    if (look.listed == DiskView::npos)
        return m_paths.marks(key);
    return look.listed < m_listedMarks.size() ? m_listedMarks[look.listed] : 0;
}

void PassSimulation::mark(const DiskView::Look& look, std::uint64_t key, PathSet::Mark mark)
{
    if (look.listed == DiskView::npos)
        return m_paths.mark(key, mark);
    if (look.listed >= m_listedMarks.size())
        m_listedMarks.resize(m_disk.listedCount());
    m_listedMarks[look.listed] |= mark;
}
