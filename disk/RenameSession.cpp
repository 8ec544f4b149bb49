#include "disk/RenameSession.h"

#include "disk/Folder.h"
#include "disk/FolderNames.h"
#include "disk/Folders.h"
#include "disk/MoveNoReplace.h"
#include "text/FileNames.h"
#include "text/LetterCase.h"

#include <cerrno>
#include <string_view>

namespace {

// Last components that differ in letter case alone; `folded` is then the
// new name folded.
bool isCaseOnlyChange(std::string_view oldName, std::string_view newName, std::string& folded)
{
    if (oldName.empty() || oldName == newName)
        return false;
    folded = foldedName(newName);
    return foldedName(oldName) == folded;
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
    if (const char* refusal = refusalOfNewName(newPath))
        return RenameResult::refusal(EINVAL, refusal);
    if (oldPath == newPath)
        return {};
    Folder& from = m_folders.of(FolderOfPath(oldPath));
    Folder& to = m_folders.of(FolderOfPath(newPath));
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
    MoveOutcome outcome = moveNoReplace({fromFd, oldName.data()}, {toFd, newName.data()});
    std::string folded;
    if (outcome.error == EEXIST && &from == &to && isCaseOnlyChange(oldName, newName, folded))
        return renameCaseOnly(from, std::string(oldName), std::string(newName), folded);
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
RenameResult RenameSession::renameCaseOnly(Folder& folder, const std::string& oldName, const std::string& newName,
                                          const std::string& folded)
{
    int error = 0;
    const FolderNames* listing = folder.foldedNames(error);
    if (!listing)
        return RenameResult::refusal(error, MoveOutcome::failure(error).text());
    if (listing->collides(oldName, newName, folded))
        return RenameResult::refusal(EEXIST, MoveOutcome::failure(EEXIST).text());

    const int fd = folder.fd();
    // One temporary name serves the whole session while it comes free again:
    // a new name each time would leave the kernel a trail of dead entries.
    MoveOutcome outcome{EEXIST, {}};
    for (int attempt = 0; attempt < 16 && outcome.error == EEXIST; ++attempt) {
        if (m_temporaryName.empty() || attempt > 0)
            m_temporaryName = privateTemporaryName();
        outcome = moveNoReplace({fd, oldName.c_str()}, {fd, m_temporaryName.c_str()});
    }
    const std::string temporary = m_temporaryName;
    // Where another file took the old name meanwhile, this one goes on to
    // its new name all the same, and the outcome says so.
    if (outcome.error && !outcome.keptBoth)
        return RenameResult::refusal(outcome.error, outcome.text());
    const MoveOutcome aside = outcome;
    outcome = moveNoReplace({fd, temporary.c_str()}, {fd, newName.c_str()});

    if (!outcome.error) {
        if (aside.keptBoth) {
            folder.noteAdded(newName);
            return RenameResult::refusal(aside.error, aside.text());
        }
        folder.noteCaseChanged(oldName, newName);
        return {};
    }
    std::string reason = outcome.text();
    const MoveOutcome back = moveNoReplace({fd, temporary.c_str()}, {fd, oldName.c_str()});
    if (back.error) {
        m_temporaryName.clear();
        folder.noteRemoved(oldName);
        folder.noteAdded(temporary);
        reason += "; moving it back failed too (" + back.text() + "), it is now named "
            + folder.path() + temporary;
    }
    if (aside.keptBoth)
        reason += "; before that, " + aside.text();
    return RenameResult::refusal(outcome.error, reason);
}
