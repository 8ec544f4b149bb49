#include "apply/PassSimulation.h"

#include "apply/StepResult.h"
#include "disk/Folder.h"
#include "text/FileNames.h"

namespace {

StepResult fails(std::string reason)
{
    return {StepResult::Outcome::Failed, std::move(reason)};
}

} // namespace

// Each check in the order the run and the file system meet it.
StepResult PassSimulation::rename(std::string_view oldPath, std::string_view newPath, bool planned)
{
    const std::string_view sourceFolder = FolderOfPath(oldPath);
    Folder& source = m_disk.folder(sourceFolder);
    const DiskView::Look oldLook = m_disk.look(source, oldPath.substr(sourceFolder.size()));
    const std::uint8_t oldMarks = marks(oldLook, source);
    if (planned) {
        const bool there = (oldMarks & PathSet::Placed) || (!(oldMarks & PathSet::MovedAway) && oldLook.held);
        if (!there)
            return fails(kNoLongerOnDisk);
    } else if (oldMarks & PathSet::MovedAway) {
        return fails(kMovedEarlier);
    } else if (oldMarks & PathSet::Placed) {
        return fails(kTakenEarlier);
    } else if (!oldLook.held) {
        return fails(kNoLongerOnDisk);
    }

    const std::string_view targetFolder = FolderOfPath(newPath);
    const std::string_view targetName = newPath.substr(targetFolder.size());
    Folder& target = m_disk.folder(targetFolder);
    if (!target.exists()) {
        const std::string_view shown = newPath.starts_with(sourceFolder) ? newPath.substr(sourceFolder.size()) : newPath;
        return fails("the folder \"" + std::string(FolderOfPath(shown)) + "\" it names does not exist");
    }
    if (source.identity().device != target.identity().device)
        return fails("the new name is on another file system");
    const FileSystemRules& rules = target.rules();
    if (rules.nameMax() > 0 && targetName.size() > std::size_t(rules.nameMax()))
        return fails("the name is too long for the file system: " + std::to_string(targetName.size())
                     + " bytes, at most " + std::to_string(rules.nameMax()));
    if (std::string refusal = rules.refusal(targetName); !refusal.empty())
        return fails(std::move(refusal));

    const DiskView::Look newLook = m_disk.look(target, targetName);
    const std::uint8_t newMarks = marks(newLook, target);
    if (newMarks & PathSet::Placed)
        return fails("a row earlier in the list proposes the same name");
    // Where case is ignored, a change of case only finds the file itself,
    // unless the folder lists the new spelling as an entry of its own.
    const bool itself = newLook.key == oldLook.key && !m_disk.spelledExactly(targetFolder, targetName);
    if (!itself && !(newMarks & PathSet::MovedAway) && newLook.held)
        return fails("a file of that name already exists in the folder");
    if (!source.writable() || !target.writable())
        return fails("the folder cannot be written to");

    mark(oldLook, source, PathSet::MovedAway);
    mark(newLook, target, PathSet::Placed);
    if (oldLook.folder)
        m_disk.folderMoved(oldPath, newPath);
    return {};
}

PathSet& PassSimulation::unlisted(Folder& folder)
{
    if (&folder != m_lastFolder) {
        m_lastFolder = &folder;
        const auto [at, added] = m_unlisted.try_emplace(&folder);
        // New names come about one for each file the folder lists: room
        // made once, not doubled a dozen times.
        if (added && m_disk.listedCount() > 0)
            at->second.reserve(folder.names().indexCount() / 2);
        m_lastUnlisted = &at->second;
    }
    return *m_lastUnlisted;
}

std::uint8_t PassSimulation::marks(const DiskView::Look& look, Folder& folder)
{
    if (look.listed == DiskView::npos)
        return unlisted(folder).marks(look.key);
    return look.listed < m_listedMarks.size() ? m_listedMarks[look.listed] : 0;
}

void PassSimulation::mark(const DiskView::Look& look, Folder& folder, PathSet::Mark mark)
{
    if (look.listed == DiskView::npos)
        return unlisted(folder).mark(look.key, mark);
    if (look.listed >= m_listedMarks.size())
        m_listedMarks.resize(m_disk.listedCount());
    m_listedMarks[look.listed] |= mark;
}
