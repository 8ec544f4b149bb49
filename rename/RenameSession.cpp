#include "rename/RenameSession.h"

#include "rename/FoldedName.h"
#include "rename/FolderListing.h"
#include "rename/MoveNoReplace.h"

#include <cerrno>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>

namespace {

struct SplitPath {
    std::string folder;  // with its trailing '/', or empty for the working folder
    std::string name;
};

SplitPath splitPath(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return {{}, path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

// The kernel would take these for the folder itself or the one above it.
const char* refusalOfNewName(std::string_view path)
{
    const std::string_view name = path.substr(path.rfind('/') + 1);
    if (name.empty())
        return "the new name is empty";
    if (name == ".")
        return "the new name \".\" stands for the folder itself";
    if (name == "..")
        return "the new name \"..\" stands for the folder above";
    return nullptr;
}

// Same folder, spelled byte for byte alike, and last components that differ
// in letter case alone.
bool isCaseOnlyChange(const SplitPath& from, const SplitPath& to)
{
    return from.folder == to.folder && !from.name.empty() && from.name != to.name
        && foldedName(from.name) == foldedName(to.name);
}

}  // namespace

RenameSession::RenameSession() = default;
RenameSession::~RenameSession() = default;

RenameResult RenameSession::rename(const std::string& oldPath, const std::string& newPath)
{
    if (const char* refusal = refusalOfNewName(newPath))
        return {std::error_code(EINVAL, std::generic_category()), refusal};
    if (oldPath == newPath)
        return {};
    MoveOutcome outcome = moveNoReplace({AT_FDCWD, oldPath.c_str()}, {AT_FDCWD, newPath.c_str()});
    if (outcome.error == EEXIST && isCaseOnlyChange(splitPath(oldPath), splitPath(newPath)))
        outcome = renameCaseOnly(oldPath, newPath);
    if (outcome.error)
        return {std::error_code(outcome.error, std::generic_category()), std::move(outcome.reason)};
    noteRenamed(oldPath, newPath);
    return {};
}

// The file system said the new name exists, yet it differs from the old one
// only in case. Unless the folder lists another entry under that name (say a
// hard link spelled the new way, which must stay), the file itself answered:
// move it aside and back under the new spelling. Inode numbers cannot tell,
// as FUSE FAT drivers give the two spellings different ones.
MoveOutcome RenameSession::renameCaseOnly(const std::string& oldPath, const std::string& newPath)
{
    const SplitPath from = splitPath(oldPath);
    const SplitPath to = splitPath(newPath);
    int error = 0;
    FolderListing* listing = listingOf(to.folder, true, error);
    if (!listing)
        return MoveOutcome::failure(error);
    if (listing->collides(from.name, to.name))
        return MoveOutcome::failure(EEXIST);

    // Names within the open folder: no path to walk again for each step.
    const int folder = listing->fd();
    std::string temporary;
    MoveOutcome outcome{EEXIST, {}};
    for (int attempt = 0; attempt < 16 && outcome.error == EEXIST; ++attempt) {
        temporary = privateTemporaryName();
        outcome = moveNoReplace({folder, from.name.c_str()}, {folder, temporary.c_str()});
    }
    // Where another file took the old name meanwhile, this one goes on to
    // its new name all the same, and the outcome says so.
    const MoveOutcome aside = outcome;
    if (outcome.error && !outcome.keptBoth)
        return outcome;

    outcome = moveNoReplace({folder, temporary.c_str()}, {folder, to.name.c_str()});
    if (!outcome.error) {
        if (aside.keptBoth)
            listing->add(to.name);
        return aside;
    }
    const MoveOutcome back = moveNoReplace({folder, temporary.c_str()}, {folder, from.name.c_str()});
    if (back.error) {
        listing->remove(from.name);
        listing->add(temporary);
        outcome.reason += "; moving it back failed too (" + back.reason + "), it is now named "
            + to.folder + temporary;
    }
    if (aside.keptBoth)
        outcome.reason += "; before that, " + aside.reason;
    return outcome;
}

// The listing of `folder` as spelled, found through the folder's identity so
// that every spelling of it shares one listing; nullptr with error set when
// the folder cannot be read. To rename in it, a spelling is always looked
// up afresh (readIfNew), so the steps never go to a folder that was moved
// away from under it; to keep the listings up to date, what a spelling
// was found to be is kept, and a listing is read only for a rename.
FolderListing* RenameSession::listingOf(const std::string& folder, bool readIfNew, int& error)
{
    const auto known = m_spellings.find(folder);
    if (!readIfNew && known != m_spellings.end()
        && (known->second.listing || known->second.known == m_listings.size()))
        return known->second.listing;

    struct stat status;
    if (stat(folder.empty() ? "." : folder.c_str(), &status) != 0) {
        error = errno;
        m_spellings.insert_or_assign(folder, Spelling{nullptr, m_listings.size()});
        return nullptr;
    }
    const auto found = m_listings.find({status.st_dev, status.st_ino});
    FolderListing* listing = found == m_listings.end() ? nullptr : found->second.get();
    if (!listing && readIfNew) {
        auto read = std::make_unique<FolderListing>();
        if ((error = read->read(folder)) != 0)
            return nullptr;
        const std::pair identity{read->device(), read->inode()};
        listing = m_listings.try_emplace(identity, std::move(read)).first->second.get();
    }
    m_spellings.insert_or_assign(folder, Spelling{listing, m_listings.size()});
    return listing;
}

void RenameSession::noteRenamed(const std::string& oldPath, const std::string& newPath)
{
    if (m_listings.empty())
        return;
    // A renamed folder takes the spellings of the paths through it along.
    const std::string below = oldPath + '/';
    for (auto it = m_spellings.lower_bound(below);
         it != m_spellings.end() && it->first.starts_with(below);)
        it = m_spellings.erase(it);

    const SplitPath from = splitPath(oldPath);
    const SplitPath to = splitPath(newPath);
    int error = 0;
    if (FolderListing* listing = listingOf(from.folder, false, error))
        listing->remove(from.name);
    if (FolderListing* listing = listingOf(to.folder, false, error))
        listing->add(to.name);
}
