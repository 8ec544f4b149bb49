#include "disk/MoveNoReplace.h"

#include "disk/FileSystemRules.h"
#include "disk/SystemCalls.h"
#include "text/FileNames.h"

#include <cerrno>
#include <cstdio>  // renameat2, RENAME_NOREPLACE
#include <fcntl.h>
#include <pthread.h>
#include <random>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

// How deep a move may go on to put back a file it found in its way.
constexpr int kMaxPutBackDepth = 2;

MoveOutcome failed(int error, std::string_view more = {})
{
    return MoveOutcome::failure(error, more);
}

bool refusesNoReplaceFlag(int error)
{
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

bool refusesHardLinks(int error)
{
    return error == EPERM || error == EMLINK || error == EOPNOTSUPP;
}

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

MoveOutcome moveAt(PathAt from, PathAt to, int depth);

// Removes `name` only while it names `expected` (and, with mustBeEmpty,
// while that is still empty). The name is first moved to a private name
// beside it, so that what another program puts at `name` meanwhile stays
// untouched; anything else found under the private name goes back to
// `name` without replacing anything, or where that fails stays where it is,
// told in strayPath. 0 when removed or already gone; EBUSY when another file
// stood there; else the errno of the failure.
int removeIfStill(PathAt name, const struct stat& expected, bool mustBeEmpty, int depth,
                  std::string& strayPath)
{
    const std::string privatePath = std::string(FolderOfPath(name.path)) + privateTemporaryName();
    if (renameat(name.dirFd, name.path, name.dirFd, privatePath.c_str()) != 0)
        return errno == ENOENT ? 0 : errno;
    struct stat found;
    int error = EBUSY;
    if (fstatat(name.dirFd, privatePath.c_str(), &found, AT_SYMLINK_NOFOLLOW) != 0)
        error = errno;
    else if (sameFile(found, expected) && (!mustBeEmpty || found.st_size == 0))
        error = unlinkat(name.dirFd, privatePath.c_str(), 0) == 0 ? 0 : errno;
    if (error == 0)
        return 0;
    if (depth >= kMaxPutBackDepth
        || moveAt({name.dirFd, privatePath.c_str()}, name, depth + 1).error != 0)
        strayPath = privatePath;
    return error;
}

// The new name is a hard link of the file: now the old name goes, if it
// still names that file.
MoveOutcome dropOldName(PathAt from, PathAt to, int depth)
{
    struct stat linked;
    if (fstatat(to.dirFd, to.path, &linked, AT_SYMLINK_NOFOLLOW) != 0)
        return failed(errno, "; the new name was taken away meanwhile, the file keeps its old name");
    std::string stray;
    const int error = removeIfStill(from, linked, false, depth, stray);
    if (error == 0)
        return {};
    if (error == EBUSY) {
        const std::string other = stray.empty() ? std::string("the old name") : stray;
        return {EBUSY,
                "another file took the old name during the rename; both are kept, "
                "this file under the new name and the other one under " + other,
                true};
    }
    // The old name cannot go (say its folder is read-only): take the new one back.
    std::string strayNew;
    const int undo = removeIfStill(to, linked, false, depth, strayNew);
    std::string more;
    if (undo != 0 && undo != EBUSY)
        more = "; the file keeps its old name and also has the new one now";
    if (!strayNew.empty())
        more += "; what stood at the new name is now named " + strayNew;
    return failed(error, more);
}

// Without hard links: the new name is reserved with an empty file, which is
// all the rename can replace. Only its owner can open it, and it is closed
// before the rename: a FUSE driver would hide a file still open under a
// name of its own, and some then write that entry over the renamed file.
// A program that wrote into it or saved another file over it meanwhile is
// seen in a last look, and keeps what it put there: the file then keeps its
// old name.
MoveOutcome moveOverPlaceholder(PathAt from, PathAt to, int depth)
{
    const int fd = openat(to.dirFd, to.path, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0);
    if (fd < 0)
        return failed(errno);
    struct stat placeholder;
    const bool looked = fstat(fd, &placeholder) == 0;
    close(fd);
    struct stat current;
    if (!looked || fstatat(to.dirFd, to.path, &current, AT_SYMLINK_NOFOLLOW) != 0 || !sameFile(current, placeholder)
        || current.st_size != 0 || current.st_mtim.tv_sec != placeholder.st_mtim.tv_sec
        || current.st_mtim.tv_nsec != placeholder.st_mtim.tv_nsec)
        return failed(EEXIST, "; another program put a file at the new name during the rename, and keeps it");
    if (renameAtHook(from.dirFd, from.path, to.dirFd, to.path) == 0)
        return {};
    const int error = errno;
    std::string stray;
    removeIfStill(to, placeholder, true, depth, stray);
    if (!stray.empty())
        return failed(error, "; what stood at the new name is now named " + stray);
    return failed(error);
}

// A folder can only take the place of an empty folder: never of a file
// (ENOTDIR) nor of a folder with anything in it (ENOTEMPTY). So a plain
// rename can lose no file, whatever appears at `to` after this check.
MoveOutcome moveFolder(PathAt from, PathAt to)
{
    struct stat target;
    if (fstatat(to.dirFd, to.path, &target, AT_SYMLINK_NOFOLLOW) == 0)
        return failed(EEXIST);
    if (errno != ENOENT)
        return failed(errno);
    if (renameat(from.dirFd, from.path, to.dirFd, to.path) == 0)
        return {};
    return failed(errno);
}

// Without hard links, or where a link cannot tell which file a name holds:
// a name the file system could not hold is refused first, since some
// drivers (fusefat) remove the old entry before they find that the new name
// cannot be written.
MoveOutcome moveWithoutLinks(PathAt from, PathAt to, int depth, const FileSystemRules& rules)
{
    if (std::string refusal = rules.refusal(NameOfPath(to.path)); !refusal.empty())
        return {EINVAL, std::move(refusal)};
    return moveOverPlaceholder(from, to, depth);
}

// Where inode numbers tell nothing (FUSE drivers number them by path), no
// name is ever removed on a look at which file it holds: the file first
// moves to a private name no other program uses, is linked (or renamed over
// a placeholder) from there, and the private name goes. Where the new name
// is taken, it goes back to its old name, or stays under the private one,
// which the reason tells.
MoveOutcome moveThroughPrivateName(PathAt from, PathAt to, int depth, const FileSystemRules& rules)
{
    const std::string privatePath = std::string(FolderOfPath(from.path)) + privateTemporaryName();
    const PathAt aside{from.dirFd, privatePath.c_str()};
    if (renameAtHook(from.dirFd, from.path, aside.dirFd, aside.path) != 0)
        return failed(errno);
    MoveOutcome outcome;
    if (linkAtHook(aside.dirFd, aside.path, to.dirFd, to.path, 0) == 0)
        return unlinkat(aside.dirFd, aside.path, 0) == 0 ? outcome : failed(errno, "; the file also keeps the name " + privatePath);
    outcome = refusesHardLinks(errno) ? moveWithoutLinks(aside, to, depth, rules) : failed(errno);
    if (outcome.error == 0)
        return outcome;
    const bool back = linkAtHook(aside.dirFd, aside.path, from.dirFd, from.path, 0) == 0
        ? unlinkat(aside.dirFd, aside.path, 0) == 0
        : moveWithoutLinks(aside, from, depth, rules).error == 0;
    if (!back)
        outcome.reason = outcome.text() + "; the file is now named " + privatePath;
    return outcome;
}

MoveOutcome moveAt(PathAt from, PathAt to, int depth)
{
    if (renameAt2Hook(from.dirFd, from.path, to.dirFd, to.path, RENAME_NOREPLACE) == 0)
        return {};
    if (!refusesNoReplaceFlag(errno))
        return failed(errno);

    struct stat source;
    if (fstatat(from.dirFd, from.path, &source, AT_SYMLINK_NOFOLLOW) != 0)
        return failed(errno);
    const FileSystemRules rules = FileSystemRules::forFolder(to.dirFd, std::string(FolderOfPath(to.path)));
    if (S_ISDIR(source.st_mode)) {
        if (std::string refusal = rules.refusal(NameOfPath(to.path)); !refusal.empty())
            return {EINVAL, std::move(refusal)};
        return moveFolder(from, to);
    }
    if (!rules.stableInodes()) {
        const MoveOutcome moved = moveThroughPrivateName(from, to, depth, rules);
        // Some drivers (fusefat) give a renamed file the time of the rename:
        // it keeps its own, which tell it apart where inodes cannot.
        const struct timespec times[2] = {source.st_atim, source.st_mtim};
        struct stat now;
        if (moved.error == 0 && fstatat(to.dirFd, to.path, &now, AT_SYMLINK_NOFOLLOW) == 0
            && (now.st_mtim.tv_sec != times[1].tv_sec || now.st_mtim.tv_nsec != times[1].tv_nsec))
            utimensat(to.dirFd, to.path, times, AT_SYMLINK_NOFOLLOW);
        return moved;
    }
    if (linkAtHook(from.dirFd, from.path, to.dirFd, to.path, 0) == 0)
        return dropOldName(from, to, depth);
    if (!refusesHardLinks(errno))
        return failed(errno);
    return moveWithoutLinks(from, to, depth, rules);
}

}  // namespace

MoveOutcome MoveOutcome::failure(int error, std::string_view more)
{
    if (more.empty())
        return {error, {}};
    return {error, std::error_code(error, std::generic_category()).message().append(more)};
}

std::string MoveOutcome::text() const
{
    return reason.empty() ? std::error_code(error, std::generic_category()).message() : reason;
}

MoveOutcome moveNoReplace(PathAt from, PathAt to)
{
    return moveAt(from, to, 0);
}

// The process id and a random source, made again in a child process, so
// that parent and child never make the same names.
struct TemporaryNames {
    std::string prefix = ".tolvex-rename-" + std::to_string(getpid()) + '-';
    std::mt19937_64 generator{std::random_device{}()};
};

TemporaryNames& temporaryNames()
{
    static TemporaryNames names = [] {
        pthread_atfork(nullptr, nullptr, [] { temporaryNames() = TemporaryNames(); });
        return TemporaryNames();
    }();
    return names;
}

std::string temporaryNamePrefix()
{
    return temporaryNames().prefix;
}

std::string privateTemporaryName()
{
    static const char digits[] = "0123456789abcdef";
    TemporaryNames& names = temporaryNames();
    std::string name = names.prefix;
    auto bits = names.generator();
    for (int i = 0; i < 12; ++i, bits >>= 4)
        name += digits[bits & 0xF];
    return name;
}
