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

// Puts what another program wrote into the placeholder, which the rename
// has just taken out of its folder, into a new file beside the new name:
// "<new name>.tolvex-recovered", or with "-2", "-3"… where that is taken.
// The placeholder lives on while `placeholderFd` holds it. Empty when it
// could not be kept.
std::string keepWrittenMeanwhile(int placeholderFd, PathAt to, off_t size)
{
    const std::string base = std::string(to.path) + ".tolvex-recovered";
    for (int attempt = 1; attempt <= 100; ++attempt) {
        const std::string name = attempt == 1 ? base : base + '-' + std::to_string(attempt);
        const int fd = openat(to.dirFd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return {};
        char buffer[1 << 16];
        bool copied = true;
        for (off_t at = 0; copied && at < size;) {
            const ssize_t got = pread(placeholderFd, buffer, sizeof buffer, at);
            copied = got > 0 && write(fd, buffer, std::size_t(got)) == got;
            at += got > 0 ? got : 0;
        }
        copied = close(fd) == 0 && copied;
        return copied ? name : std::string();
    }
    return {};
}

// Without hard links: the new name is reserved with an empty file, which is
// all the rename can replace. The file is made unwritable to other users
// and held open, so that what another program still writes into it in the
// moment between the last look at it and the rename is not lost with it.
MoveOutcome moveOverPlaceholder(PathAt from, PathAt to, int depth)
{
    const int fd = openat(to.dirFd, to.path, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0);
    if (fd < 0)
        return failed(errno);
    struct stat placeholder;
    struct stat current;
    if (fstat(fd, &placeholder) != 0 || fstatat(to.dirFd, to.path, &current, AT_SYMLINK_NOFOLLOW) != 0
        || !sameFile(current, placeholder) || current.st_size != 0) {
        close(fd);
        return failed(EEXIST, "; another file took the new name during the rename");
    }
    if (renameAtHook(from.dirFd, from.path, to.dirFd, to.path) == 0) {
        MoveOutcome moved;
        struct stat written;
        if (fstat(fd, &written) == 0 && written.st_size > 0) {
            const std::string kept = keepWrittenMeanwhile(fd, to, written.st_size);
            moved.note = kept.empty()
                ? std::string("another program wrote to the new name during the rename, and what it wrote "
                              "could not be kept")
                : "another program wrote to the new name during the rename; what it wrote is now named " + kept;
        }
        close(fd);
        return moved;
    }
    const int error = errno;
    close(fd);
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

MoveOutcome moveAt(PathAt from, PathAt to, int depth)
{
    if (renameAt2Hook(from.dirFd, from.path, to.dirFd, to.path, RENAME_NOREPLACE) == 0)
        return {};
    if (!refusesNoReplaceFlag(errno))
        return failed(errno);

    struct stat source;
    if (fstatat(from.dirFd, from.path, &source, AT_SYMLINK_NOFOLLOW) != 0)
        return failed(errno);
    const bool isFolder = S_ISDIR(source.st_mode);
    if (!isFolder) {
        if (linkAtHook(from.dirFd, from.path, to.dirFd, to.path, 0) == 0)
            return dropOldName(from, to, depth);
        if (!refusesHardLinks(errno))
            return failed(errno);
    }

    // From here on a plain rename does the work, and some drivers (fusefat)
    // remove the old entry before they find that the new name cannot be
    // written: such a name must not reach them.
    const std::string_view toPath(to.path);
    const FileSystemRules rules = FileSystemRules::forFolder(to.dirFd, std::string(FolderOfPath(toPath)));
    if (std::string refusal = rules.refusal(NameOfPath(toPath)); !refusal.empty())
        return {EINVAL, std::move(refusal)};
    return isFolder ? moveFolder(from, to) : moveOverPlaceholder(from, to, depth);
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
