#include "disk/RenameSession.h"

#include "disk/FolderListing.h"
#include "disk/MoveNoReplace.h"
#include "listcore/FileNames.h"
#include "text/LetterCase.h"

#include <cerrno>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>

namespace {

struct SplitPath {
    std::string_view folder;  // with its trailing '/', or empty for the working folder
    std::string_view name;
};

SplitPath splitPath(std::string_view path)
{
    return {FolderOfPath(path), NameOfPath(path)};
}

// Same folder, spelled byte for byte alike, and last components that differ
// in letter case alone; `folded` is then the new name folded.
bool isCaseOnlyChange(const SplitPath& from, const SplitPath& to, std::string& folded)
{
    if (from.folder != to.folder || from.name.empty() || from.name == to.name)
        return false;
    folded = foldedName(to.name);
    return foldedName(from.name) == folded;
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
    return nullptr;
}

RenameSession::RenameSession() = default;
RenameSession::~RenameSession() = default;

RenameResult RenameSession::rename(const std::string& oldPath, const std::string& newPath)
{
    if (const char* refusal = refusalOfNewName(newPath))
        return RenameResult::refusal(EINVAL, refusal);
    if (oldPath == newPath)
        return {};
    MoveOutcome outcome = moveNoReplace({AT_FDCWD, oldPath.c_str()}, {AT_FDCWD, newPath.c_str()});
    if (outcome.error == EEXIST) {
        std::string folded;
        if (isCaseOnlyChange(splitPath(oldPath), splitPath(newPath), folded))
            return renameCaseOnly(oldPath, newPath, folded);
    }
    if (outcome.error)
        return RenameResult::refusal(outcome.error, outcome.text());
    noteRenamed(oldPath, newPath);
    return {{}, {}, std::move(outcome.note)};
}

// The file system said the new name exists, yet it differs from the old one
// only in case. Unless the folder lists another entry under that name (say a
// hard link spelled the new way, which must stay), the file itself answered:
// move it aside and back under the new spelling. Inode numbers cannot tell,
// as FUSE FAT drivers give the two spellings different ones.
RenameResult RenameSession::renameCaseOnly(const std::string& oldPath, const std::string& newPath,
                                          const std::string& folded)
{
    const SplitPath from = splitPath(oldPath);
    const SplitPath to = splitPath(newPath);
    int error = 0;
    FolderListing* listing = listingOf(to.folder, true, error);
    if (!listing)
        return RenameResult::refusal(error, MoveOutcome::failure(error).text());
    if (listing->collides(from.name, to.name, folded))
        return RenameResult::refusal(EEXIST, MoveOutcome::failure(EEXIST).text());

    // Names within the open folder: no path to walk again for each step.
    const int folder = listing->fd();
    const std::string oldName(from.name);
    const std::string newName(to.name);
    // One temporary name serves the whole session while it comes free again:
    // a new name each time would leave the kernel a trail of dead entries.
    MoveOutcome outcome{EEXIST, {}};
    for (int attempt = 0; attempt < 16 && outcome.error == EEXIST; ++attempt) {
        if (m_temporaryName.empty() || attempt > 0)
            m_temporaryName = privateTemporaryName();
        outcome = moveNoReplace({folder, oldName.c_str()}, {folder, m_temporaryName.c_str()});
    }
    const std::string temporary = m_temporaryName;
    // Where another file took the old name meanwhile, this one goes on to
    // its new name all the same, and the outcome says so.
    if (outcome.error && !outcome.keptBoth)
        return RenameResult::refusal(outcome.error, outcome.text());
    const MoveOutcome aside = outcome;
    outcome = moveNoReplace({folder, temporary.c_str()}, {folder, newName.c_str()});

    if (!outcome.error) {
        forgetSpellingsBelow(oldPath);
        if (aside.keptBoth) {
            listing->add(newName);
            return RenameResult::refusal(aside.error, aside.text());
        }
        listing->changeCase(oldName, newName, folded);
        return {};
    }
    std::string reason = outcome.text();
    const MoveOutcome back = moveNoReplace({folder, temporary.c_str()}, {folder, oldName.c_str()});
    if (back.error) {
        m_temporaryName.clear();
        ++m_renames;  // a folder may now be under the temporary name
        forgetSpellingsBelow(oldPath);
        listing->remove(oldName);
        listing->add(temporary);
        reason += "; moving it back failed too (" + back.text() + "), it is now named "
            + std::string(to.folder) + temporary;
    }
    if (aside.keptBoth)
        reason += "; before that, " + aside.text();
    return RenameResult::refusal(outcome.error, reason);
}

// The listing of `folder` as spelled, found through the folder's identity so
// that every spelling of it shares one listing; nullptr with error set when
// the folder cannot be read. What a spelling was found to be is kept. To
// rename in the folder (readIfNew) that is trusted only while the session
// has made no rename that could have moved a folder away from under the
// spelling; else it is looked up again (a change of case keeps a folder
// where it is).
FolderListing* RenameSession::listingOf(std::string_view folder, bool readIfNew, int& error)
{
    const auto known = m_spellings.find(folder);
    if (known != m_spellings.end()) {
        const Spelling& spelling = known->second;
        if (readIfNew ? spelling.listing && spelling.renames == m_renames
                      : spelling.listing || spelling.listings == m_listings.size())
            return spelling.listing;
    }

    const std::string path(folder.empty() ? "." : folder);
    FolderListing* listing = nullptr;
    struct stat status;
    if (stat(path.c_str(), &status) != 0) {
        error = errno;
    } else if (const auto found = m_listings.find({status.st_dev, status.st_ino}); found != m_listings.end()) {
        listing = found->second.get();
    } else if (readIfNew) {
        auto read = std::make_unique<FolderListing>();
        if ((error = read->read(path)) != 0)
            return nullptr;
        const std::pair identity{read->device(), read->inode()};
        listing = m_listings.try_emplace(identity, std::move(read)).first->second.get();
    }
    m_spellings.insert_or_assign(std::string(folder), Spelling{listing, m_listings.size(), m_renames});
    return listing;
}

// A renamed folder takes the spellings of the paths through it along.
void RenameSession::forgetSpellingsBelow(const std::string& oldPath)
{
    for (auto it = m_spellings.lower_bound(oldPath); it != m_spellings.end() && it->first.starts_with(oldPath);) {
        if (it->first.size() > oldPath.size() && it->first[oldPath.size()] == '/')
            it = m_spellings.erase(it);
        else
            ++it;
    }
}

void RenameSession::noteRenamed(const std::string& oldPath, const std::string& newPath)
{
    if (m_listings.empty())
        return;
    ++m_renames;  // it may have been a folder
    forgetSpellingsBelow(oldPath);
    const SplitPath from = splitPath(oldPath);
    const SplitPath to = splitPath(newPath);
    int error = 0;
    if (FolderListing* listing = listingOf(from.folder, false, error))
        listing->remove(from.name);
    if (FolderListing* listing = listingOf(to.folder, false, error))
        listing->add(to.name);
}
