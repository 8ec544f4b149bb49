#include "rename/RenameOutlook.h"

#include "listcore/FileNames.h"
#include "listcore/RowStore.h"
#include "rename/ApplyPass.h"
#include "rename/CaseFold.h"
#include "rename/FileSystemRules.h"
#include "rename/FoldedName.h"
#include "rename/RenameSession.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unordered_set>

namespace {

// Whether an entry's pieces, joined, spell `path`, without joining them.
bool spells(std::string_view path, std::string_view folder, std::string_view name, std::string_view extension)
{
    return path.size() == folder.size() + name.size() + extension.size() && path.starts_with(folder)
        && path.substr(folder.size(), name.size()) == name && path.ends_with(extension);
}

// Whether the entry's proposal is a name no file can take ("", ".", ".."),
// told from its pieces: a row with such a proposal renames nothing.
bool proposesNoName(const FileEntry& entry)
{
    std::string_view name = entry.NewName();
    name = name.substr(name.rfind('/') + 1);
    const std::string_view extension = entry.FileExt();
    if (name.size() + extension.size() > 2)
        return false;
    const std::string whole = std::string(name) + std::string(extension);
    return whole.empty() || whole == "." || whole == "..";
}

bool folderLists(const std::string& folder, std::string_view name)
{
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return false;
    bool found = false;
    while (const dirent* entry = readdir(dir)) {
        if (name == entry->d_name) {
            found = true;
            break;
        }
    }
    closedir(dir);
    return found;
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
    return !caseOnly || folderLists(folder, newName);
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
    const FileEntry& entry = row.Data;
    RenameFacts facts;
    facts.checked = isChecked(row);
    facts.oldPath = oldPathOf(entry);
    facts.newPath = newPathOf(entry);
    facts.newName = std::string(entry.NewName()) + std::string(entry.FileExt());
    if (!facts.checked || facts.oldPath == facts.newPath || refusalOfNewName(facts.newPath))
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

// One folder as the preview of a list sees it: the names it holds now
// (folded where the file system ignores case), which of them earlier rows
// move away, and the names earlier rows claim in it.
struct ListOutlook::Folder {
    bool exists = false;
    bool ignoresCase = false;
    long nameMax = 0;
    FileSystemRules rules;
    std::unordered_map<std::string, bool> names;  // key -> moved away by an earlier row
    std::unordered_map<std::string, std::string> spellings;  // folded key -> exact name, where case is ignored
    std::unordered_set<std::string> claimed;

    explicit Folder(const std::string& path)
    {
        DIR* dir = opendir(path.empty() ? "." : path.c_str());
        if (!dir)
            return;
        exists = true;
        rules = FileSystemRules::forFolder(path);
        ignoresCase = rules.isFatFamily();
        nameMax = rules.nameMax();
        while (const dirent* entry = readdir(dir)) {
            const std::string_view name(entry->d_name);
            if (name == "." || name == "..")
                continue;
            names.emplace(key(name), false);
            if (ignoresCase)
                spellings.emplace(key(name), name);
        }
        closedir(dir);
    }

    std::string key(std::string_view name) const { return ignoresCase ? foldedName(name) : std::string(name); }
};

ListOutlook::ListOutlook() = default;
ListOutlook::~ListOutlook() = default;

ListOutlook::Folder& ListOutlook::folder(std::string_view path)
{
    if (m_last && path == m_lastPath)
        return *m_last;
    auto [at, added] = m_folders.try_emplace(std::string(path));
    if (added)
        at->second = std::make_unique<Folder>(at->first);
    m_lastPath = path;
    m_last = at->second.get();
    return *m_last;
}

RenameOutlook ListOutlook::next(const ListRow& row)
{
    const FileEntry& entry = row.Data;
    RenameFacts facts;
    facts.checked = isChecked(row);
    facts.oldPath = oldPathOf(entry);
    facts.newPath = newPathOf(entry);
    facts.newName = std::string(entry.NewName()) + std::string(entry.FileExt());
    if (!facts.checked || facts.oldPath == facts.newPath || refusalOfNewName(facts.newPath))
        return decideOutlook(facts);

    const std::string_view oldName = NameOfPath(facts.oldPath);
    const std::string_view newName = NameOfPath(facts.newPath);
    Folder& source = folder(FolderOfPath(facts.oldPath));
    const std::string oldKey = source.key(oldName);
    const auto sourceEntry = source.names.find(oldKey);
    facts.sourceOnDisk = sourceEntry != source.names.end();

    Folder& target = folder(FolderOfPath(facts.newPath));
    facts.targetFolderExists = target.exists;
    if (target.exists) {
        facts.nameMax = target.nameMax;
        facts.fileSystemRefusal = target.rules.refusal(newName);
        const std::string newKey = target.key(newName);
        if (const auto there = target.names.find(newKey); there != target.names.end()) {
            // Where case is ignored, a change of case only finds the file
            // itself, unless the folder lists the new spelling apart.
            const bool itself = &target == &source && newKey == oldKey && target.spellings[newKey] != newName;
            facts.targetTaken = !itself;
            facts.takenOneRenamedEarlier = there->second;
        }
        facts.proposedEarlier = target.claimed.count(newKey) > 0;
        target.claimed.insert(newKey);
    }
    if (sourceEntry != source.names.end())
        sourceEntry->second = true;
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
