#include "apply/RenameOutlook.h"

#include "disk/FileSystemRules.h"
#include "disk/FolderNames.h"
#include "disk/RenameSession.h"
#include "listcore/FileNames.h"
#include "listcore/RowStore.h"
#include "text/LetterCase.h"

#include <sys/stat.h>

namespace {

// Whether an entry's pieces, joined, spell `path`, without joining them.
bool spells(std::string_view path, std::string_view folder, std::string_view name, std::string_view extension)
{
    return path.size() == folder.size() + name.size() + extension.size() && path.starts_with(folder)
        && path.substr(folder.size(), name.size()) == name && path.ends_with(extension);
}

// Whether the entry's proposal is a name no file can take: a row with such a
// proposal renames nothing. Told from its pieces, without building its path,
// as only names of up to two bytes can be refused.
bool proposesNoName(const FileEntry& entry)
{
    std::string_view name = entry.NewName();
    name = name.substr(name.rfind('/') + 1);
    if (name.size() + entry.FileExt().size() > 2)
        return false;
    return refusalOfNewName(std::string(name) + std::string(entry.FileExt())) != nullptr;
}

// What the row itself tells: whether it is checked, and its paths.
RenameFacts listFactsOf(const ListRow& row)
{
    const FileEntry& entry = row.Data;
    RenameFacts facts;
    facts.checked = isChecked(row);
    facts.oldPath = entry.path();
    facts.newPath = entry.newPath();
    facts.newName = entry.newFileName();
    return facts;
}

// Whether the outlook hangs on more than the row: a checked rename to a
// name a file can take.
bool needsTheDisk(const RenameFacts& facts)
{
    return facts.checked && facts.oldPath != facts.newPath && !refusalOfNewName(facts.newPath);
}

// Something other than the file itself stands at the new path. Where the
// file system ignores case, a change of case only finds the file itself,
// unless the folder lists the new spelling as an entry of its own.
bool takenByAnother(const RenameFacts& facts, const std::string& folder)
{
    struct stat target;
    if (lstat(facts.newPath.c_str(), &target) != 0)
        return false;
    const std::string_view oldName = NameOfPath(facts.oldPath);
    const std::string_view newName = NameOfPath(facts.newPath);
    const bool caseOnly = FolderOfPath(facts.oldPath) == FolderOfPath(facts.newPath) && oldName != newName
        && sameIgnoringCase(oldName, newName);
    return !caseOnly || FolderNames(folder).spelledExactly(newName);
}

} // namespace

RenameOutlook decideOutlook(const RenameFacts& facts)
{
    if (!facts.checked)
        return {RenameOutlook::Kind::Unchecked, facts.newName, {}};
    if (facts.oldPath == facts.newPath)
        return {RenameOutlook::Kind::Unchanged, facts.newName, {}};
    auto fails = [&](std::string reason) {
        return RenameOutlook{RenameOutlook::Kind::Fails, facts.newName, std::move(reason)};
    };
    if (const char* refusal = refusalOfNewName(facts.newPath))
        return fails(refusal);
    if (!facts.sourceOnDisk)
        return fails("the file is no longer on disk");
    if (!facts.targetFolderExists)
        return fails("the folder \"" + std::string(FolderOfPath(facts.newName)) + "\" it names does not exist");
    const std::size_t length = NameOfPath(facts.newPath).size();
    if (facts.nameMax > 0 && length > std::size_t(facts.nameMax))
        return fails("the name is too long for the file system: " + std::to_string(length) + " bytes, at most "
                     + std::to_string(facts.nameMax));
    if (!facts.fileSystemRefusal.empty())
        return fails(facts.fileSystemRefusal);
    if (facts.proposedEarlier)
        return fails("a row earlier in the list proposes the same name");
    if (facts.targetTaken && !facts.takenOneRenamedEarlier)
        return fails("a file of that name already exists in the folder");
    return {RenameOutlook::Kind::Renames, facts.newName, {}};
}

RenameOutlook outlookOfRow(const RowStore& rows, const ListRow& row)
{
    RenameFacts facts = listFactsOf(row);
    if (!needsTheDisk(facts))
        return decideOutlook(facts);

    struct stat status;
    facts.sourceOnDisk = lstat(facts.oldPath.c_str(), &status) == 0;
    const std::string folder(FolderOfPath(facts.newPath));
    facts.targetFolderExists = stat(folder.empty() ? "." : folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
    if (facts.targetFolderExists) {
        const FileSystemRules rules = FileSystemRules::forFolder(folder);
        facts.nameMax = rules.nameMax();
        facts.fileSystemRefusal = rules.refusal(NameOfPath(facts.newPath));
        facts.targetTaken = takenByAnother(facts, folder);
    }
    // The rows before it that will rename their files: one may claim the
    // same new path first, or move away what stands there now.
    for (std::size_t index = 0; index < row.RowIndex; ++index) {
        const ListRow& earlier = rows.row(index);
        const FileEntry& other = earlier.Data;
        if (!isChecked(earlier) || !other.nameChanged() || proposesNoName(other))
            continue;
        facts.proposedEarlier = facts.proposedEarlier
            || spells(facts.newPath, other.FilePath(), other.NewName(), other.FileExt());
        facts.takenOneRenamedEarlier = facts.takenOneRenamedEarlier
            || (facts.targetTaken && spells(facts.newPath, other.FilePath(), other.FileName(), {}));
    }
    return decideOutlook(facts);
}

// A folder new names go to, as the preview sees it: its rules, and the names
// earlier rows claim in it.
struct ListOutlook::Target {
    FileSystemRules rules;
    NameSet claimed;
};

ListOutlook::ListOutlook(FolderNamesCache* folders)
    : m_ownFolders(folders ? nullptr : std::make_unique<FolderNamesCache>())
    , m_folders(folders ? *folders : *m_ownFolders)
{
}

ListOutlook::~ListOutlook() = default;

ListOutlook::Target& ListOutlook::targetIn(FolderNames& folder, std::string_view path)
{
    auto [at, added] = m_targets.try_emplace(&folder);
    if (added) {
        at->second = std::make_unique<Target>();
        at->second->rules = FileSystemRules::forFolder(std::string(path));
    }
    return *at->second;
}

RenameOutlook ListOutlook::next(const ListRow& row)
{
    RenameFacts facts = listFactsOf(row);
    if (!needsTheDisk(facts))
        return decideOutlook(facts);

    const std::string_view oldName = NameOfPath(facts.oldPath);
    const std::string_view newName = NameOfPath(facts.newPath);
    FolderNames& source = m_folders.of(FolderOfPath(facts.oldPath));
    const std::string oldKey = source.key(oldName);
    const std::size_t sourceIndex = source.find(oldKey);
    facts.sourceOnDisk = sourceIndex != NameSet::npos;

    const std::string_view targetPath = FolderOfPath(facts.newPath);
    FolderNames& folder = m_folders.of(targetPath);
    facts.targetFolderExists = folder.exists();
    if (folder.exists()) {
        Target& target = targetIn(folder, targetPath);
        facts.nameMax = target.rules.nameMax();
        facts.fileSystemRefusal = target.rules.refusal(newName);
        const std::string newKey = folder.key(newName);
        if (const std::size_t there = folder.find(newKey); there != NameSet::npos) {
            // Where case is ignored, a change of case only finds the file
            // itself, unless the folder lists the new spelling apart.
            const bool itself = &folder == &source && newKey == oldKey && !folder.spelledExactly(newName);
            facts.targetTaken = !itself;
            facts.takenOneRenamedEarlier = folder.movedAway(there);
        }
        facts.proposedEarlier = !target.claimed.insert(newKey);
    }
    if (sourceIndex != NameSet::npos)
        source.markMovedAway(sourceIndex);
    return decideOutlook(facts);
}

std::string outlookText(const RenameOutlook& outlook)
{
    switch (outlook.kind) {
    case RenameOutlook::Kind::Unchecked:
        return "Not checked: Apply Rename leaves this file as it is.";
    case RenameOutlook::Kind::Unchanged:
        return "The proposed name is the file's own: Apply Rename leaves it as it is.";
    case RenameOutlook::Kind::Renames:
        return "Apply Rename renames this file to \"" + outlook.newName + "\".";
    case RenameOutlook::Kind::Fails:
        break;
    }
    return "Apply Rename cannot rename this file to \"" + outlook.newName + "\": " + outlook.reason + ".";
}
