#include "disk/RenameSession.h"

#include "disk/Folder.h"
#include "disk/FolderNames.h"
#include "disk/Folders.h"
#include "disk/MoveNoReplace.h"
#include "text/FileNames.h"
#include "text/LetterCase.h"

#include <cerrno>
#include <string_view>
#include <utility>

namespace {

// Last components that differ in letter case alone.
bool isCaseOnlyChange(std::string_view oldName, std::string_view newName)
{
    return !oldName.empty() && oldName != newName && sameIgnoringCase(oldName, newName);
}

}  // namespace

const char* refusalOfNewName(std::string_view path)
{
    const std::string_view name = NameOfPath(path);
    if (name.empty())
        return "the new name is empty";
    if (name == ".")
        return "the new name \".\" stands for the folder itself";
    if (name == "..")
        return "the new name \"..\" stands for the folder above";
    if (path.find('\0') != std::string_view::npos)
        return "the new name holds a NUL byte, which no name can";
    return nullptr;
}

std::string folderRefusal(const Folder& folder)
{
    if (folder.error() == ESTALE)
        return "the folder \"" + folder.path() + "\" was replaced by another during the run";
    return MoveOutcome::failure(folder.error()).text();
}

RenameResult RenameSession::rename(const std::string& oldPath, const std::string& newPath)
{
    Folder& from = m_folders.of(FolderOfPath(oldPath));
    return rename(from, oldPath, m_folders.of(FolderOfPath(newPath)), newPath);
}

RenameResult RenameSession::rename(Folder& from, const std::string& oldPath, Folder& to, const std::string& newPath)
{
    if (const char* refusal = refusalOfNewName(newPath))
        return RenameResult::refusal(EINVAL, refusal);
    if (oldPath == newPath)
        return {};
    const int fromFd = from.fd();
    const int toFd = to.fd();
    if (fromFd < 0 || toFd < 0) {
        Folder& missing = fromFd < 0 ? from : to;
        return RenameResult::refusal(missing.error(), folderRefusal(missing));
    }
    // Each name is the tail of its path, and so ends where the path does:
    // a million renames copy none of them.
    const std::string_view oldName = NameOfPath(oldPath);
    const std::string_view newName = NameOfPath(newPath);
    if (&from == &to && from.turnsCaseChangesAway() && isCaseOnlyChange(oldName, newName))
        return renameCaseOnly(from, oldName, newName);
    MoveOutcome outcome = moveNoReplace({fromFd, oldName.data()}, {toFd, newName.data()});
    if (outcome.error == EEXIST && &from == &to && isCaseOnlyChange(oldName, newName))
        return renameCaseOnly(from, oldName, newName);
    if (outcome.error)
        return RenameResult::refusal(outcome.error, outcome.text());
    from.noteRemoved(oldName);
    to.noteAdded(newName);
    return {};
}

// The file system said the new name exists, yet it differs from the old one
// only in case. Unless the folder lists another entry under that name (say a
// hard link spelled the new way, which must stay), the file itself answered:
// move it aside and back under the new spelling. Inode numbers cannot tell,
// as FUSE FAT drivers give the two spellings different ones.
RenameResult RenameSession::renameCaseOnly(Folder& folder, std::string_view oldName, std::string_view newName)
{
    int error = 0;
    const FolderNames* listing = folder.foldedNames(error);
    if (!listing)
        return RenameResult::refusal(error, MoveOutcome::failure(error).text());
    if (listing->collides(oldName, newName, foldedName(newName)))
        return RenameResult::refusal(EEXIST, MoveOutcome::failure(EEXIST).text());
    folder.noteCaseChangeTurnedAway();

    const int fd = folder.fd();
    // One temporary name serves the whole session while it comes free again:
    // a new name each time would leave the kernel a trail of dead entries.
    MoveOutcome outcome{EEXIST, {}};
    for (int attempt = 0; attempt < 16 && outcome.error == EEXIST; ++attempt) {
        if (m_temporaryName.empty() || attempt > 0)
            m_temporaryName = privateTemporaryName();
        outcome = moveNoReplace({fd, oldName.data()}, {fd, m_temporaryName.c_str()});
    }
    const std::string& temporary = m_temporaryName;
    // Where another file took the old name meanwhile, this one goes on to
    // its new name all the same, and the outcome says so.
    if (outcome.error && !outcome.keptBoth)
        return RenameResult::refusal(outcome.error, outcome.text());
    const MoveOutcome aside = outcome;
    outcome = moveNoReplace({fd, temporary.c_str()}, {fd, newName.data()});

    if (!outcome.error) {
        if (aside.keptBoth) {
            folder.noteAdded(newName);
            return RenameResult::refusal(aside.error, aside.text());
        }
        folder.noteCaseChanged(oldName, newName);
        return {};
    }
    std::string reason = outcome.text();
    const MoveOutcome back = moveNoReplace({fd, temporary.c_str()}, {fd, oldName.data()});
    if (back.error) {
        // The file keeps the temporary name: the next change of case takes another.
        const std::string kept = std::exchange(m_temporaryName, {});
        folder.noteRemoved(oldName);
        folder.noteAdded(kept);
        reason += "; moving it back failed too (" + back.text() + "), it is now named " + folder.path() + kept;
    }
    if (aside.keptBoth)
        reason += "; before that, " + aside.text();
    return RenameResult::refusal(outcome.error, reason);
}
