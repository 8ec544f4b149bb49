#pragma once

// Real folders for the rename tests, built and read back with POSIX calls so
// that names stay bytes (Qt's file classes would decode them), and stand-ins
// for file systems that refuse RENAME_NOREPLACE or ignore case.

#include "disk/SystemCalls.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <functional>
#include <grp.h>
#include <set>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace fixture {

// Each item of `layout` is one entry below root, parents first:
//   "name/"        a folder
//   "name=other"   a hard link to the file "other"
//   "name@target"  a symbolic link to target
//   "name"         a file whose content is its own name
inline bool makeTree(const QByteArray& root, const QByteArrayList& layout)
{
    for (const QByteArray& item : layout) {
        const QByteArray path = root + '/';
        if (item.endsWith('/')) {
            if (mkdir(path + item, 0755) != 0)
                return false;
        } else if (const auto eq = item.indexOf('='); eq > 0) {
            if (link(path + item.mid(eq + 1), path + item.left(eq)) != 0)
                return false;
        } else if (const auto at = item.indexOf('@'); at > 0) {
            if (symlink(item.mid(at + 1), path + item.left(at)) != 0)
                return false;
        } else {
            const int fd = open(path + item, O_WRONLY | O_CREAT | O_EXCL, 0644);
            if (fd < 0)
                return false;
            const bool written = write(fd, item.constData(), item.size()) == item.size();
            close(fd);
            if (!written)
                return false;
        }
    }
    return true;
}

inline QByteArray readContent(const QByteArray& path)
{
    QByteArray content;
    const int fd = open(path, O_RDONLY);
    if (fd < 0)
        return "<unreadable>";
    char buffer[4096];
    ssize_t got;
    while ((got = read(fd, buffer, sizeof buffer)) > 0)
        content.append(buffer, got);
    close(fd);
    return content;
}

// Everything below root, sorted: "path:content" for files, "path/" for
// folders, "path@target" for symbolic links.
inline void readTreeInto(const QByteArray& root, const QByteArray& prefix, QByteArrayList& out)
{
    DIR* dir = opendir(root + '/' + prefix);
    if (!dir)
        return;
    QByteArrayList names;
    while (const dirent* entry = readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names << name;
    }
    closedir(dir);
    for (const QByteArray& name : names) {
        const QByteArray relative = prefix + name;
        const QByteArray full = root + '/' + relative;
        struct stat status;
        if (lstat(full, &status) != 0)
            continue;
        if (S_ISDIR(status.st_mode)) {
            out << relative + '/';
            readTreeInto(root, relative + '/', out);
        } else if (S_ISLNK(status.st_mode)) {
            char target[4096];
            const ssize_t length = readlink(full, target, sizeof target);
            out << relative + '@' + QByteArray(target, std::max<ssize_t>(length, 0));
        } else {
            out << relative + ':' + readContent(full);
        }
    }
}

inline QByteArrayList readTree(const QByteArray& root)
{
    QByteArrayList tree;
    readTreeInto(root, {}, tree);
    std::sort(tree.begin(), tree.end());
    return tree;
}

// A temporary folder that is emptied with POSIX calls first: QTemporaryDir
// cannot remove names that are not valid UTF-8.
class ScratchFolder {
public:
    bool isValid() const { return m_dir.isValid(); }
    const QByteArray& root() const { return m_root; }
    ~ScratchFolder()
    {
        if (m_dir.isValid())
            nftw(m_root, [](const char* path, const struct stat*, int, FTW* walk) {
                return walk->level > 0 ? remove(path) : 0;
            }, 16, FTW_DEPTH | FTW_PHYS);
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_root = QFile::encodeName(m_dir.path());
};

// --- Stand-ins for other file systems ------------------------------------

enum class FileSystem {
    Native,          // the flag works (ext4, tmpfs, btrfs, …)
    RefusesFlag,     // EINVAL for RENAME_NOREPLACE, as NFS does
    IgnoresCase,     // case-insensitive and refuses the flag, as FUSE FAT drivers do
};

// Whether the stand-in makes hard links; FAT and many FUSE drivers refuse.
enum class HardLinks { Made, Refused };

inline FileSystem g_fileSystem = FileSystem::Native;
inline HardLinks g_hardLinks = HardLinks::Made;
// Runs right after each link the stand-in made or refused, to act as
// another program would in that moment.
inline std::function<void()> g_afterLink;
// Runs once, right before the next plain rename over a placeholder, to act
// as another program would in that moment.
inline std::function<void()> g_beforePlainRename;
// Calls of the stand-in (counted from 1) that it refuses with EACCES.
inline std::set<int> g_refusedCalls;
inline int g_calls = 0;

inline std::pair<std::string, std::string> splitLast(const char* path)
{
    const std::string text(path);
    const auto slash = text.rfind('/');
    if (slash == std::string::npos)
        return {".", text};
    return {text.substr(0, slash + 1), text.substr(slash + 1)};
}

// ASCII letters always fold; beyond them only names that are well-formed
// UTF-8 compare through Qt's case folding.
inline bool sameIgnoringCase(const std::string& a, const std::string& b)
{
    auto decode = [](const std::string& text, bool& ok) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString result = decoder(QByteArrayView(text.data(), qsizetype(text.size())));
        ok = !decoder.hasError();
        return result;
    };
    bool okA = false;
    bool okB = false;
    const QString wideA = decode(a, okA);
    const QString wideB = decode(b, okB);
    if (okA && okB)
        return wideA.compare(wideB, Qt::CaseInsensitive) == 0;
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
               return fold(x) == fold(y);
           });
}

inline int standInRenameAt2(int oldDirFd, const char* oldPath, int newDirFd, const char* newPath,
                            unsigned int flags)
{
    const auto [folder, name] = splitLast(newPath);
    if (g_refusedCalls.count(++g_calls)) {
        errno = EACCES;
        return -1;
    }
    if (g_fileSystem == FileSystem::Native)
        return ::renameat2(oldDirFd, oldPath, newDirFd, newPath, flags);
    if (g_fileSystem == FileSystem::IgnoresCase) {
        struct stat status;
        if (fstatat(oldDirFd, oldPath, &status, AT_SYMLINK_NOFOLLOW) != 0)
            return -1;
        const int folderFd = openat(newDirFd, folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (DIR* dir = folderFd < 0 ? nullptr : fdopendir(folderFd)) {
            bool taken = false;
            while (const dirent* entry = readdir(dir))
                taken = taken || sameIgnoringCase(entry->d_name, name);
            closedir(dir);
            if (taken) {
                errno = EEXIST;
                return -1;
            }
        }
    }
    errno = EINVAL;
    return -1;
}

inline int standInLinkAt(int oldDirFd, const char* oldPath, int newDirFd, const char* newPath, int flags)
{
    int result = -1;
    errno = EPERM;
    if (g_hardLinks == HardLinks::Made)
        result = ::linkat(oldDirFd, oldPath, newDirFd, newPath, flags);
    const int error = errno;
    if (g_afterLink)
        g_afterLink();
    errno = error;
    return result;
}

inline int standInRenameAt(int oldDirFd, const char* oldPath, int newDirFd, const char* newPath)
{
    if (const std::function<void()> act = std::exchange(g_beforePlainRename, nullptr))
        act();
    return ::renameat(oldDirFd, oldPath, newDirFd, newPath);
}

// Puts the stand-in in place of the flagged rename for one scope.
class StandInFileSystem {
public:
    explicit StandInFileSystem(FileSystem kind, std::set<int> refusedCalls = {},
                               HardLinks hardLinks = HardLinks::Made)
    {
        g_fileSystem = kind;
        g_hardLinks = hardLinks;
        g_refusedCalls = std::move(refusedCalls);
        g_calls = 0;
        renameAt2Hook = &standInRenameAt2;
        linkAtHook = &standInLinkAt;
        renameAtHook = &standInRenameAt;
    }
    ~StandInFileSystem()
    {
        renameAt2Hook = m_saved;
        linkAtHook = m_savedLinkAt;
        renameAtHook = m_savedRenameAt;
        g_beforePlainRename = nullptr;
        g_fileSystem = FileSystem::Native;
        g_hardLinks = HardLinks::Made;
        g_afterLink = nullptr;
        g_refusedCalls.clear();
    }
    StandInFileSystem(const StandInFileSystem&) = delete;
    StandInFileSystem& operator=(const StandInFileSystem&) = delete;

private:
    RenameAt2Function m_saved = renameAt2Hook;
    LinkAtFunction m_savedLinkAt = linkAtHook;
    RenameAtFunction m_savedRenameAt = renameAtHook;
};

// --- Another user -----------------------------------------------------------

inline constexpr uid_t kNobody = 65534;
inline constexpr gid_t kNoGroup = 65534;
inline constexpr int kCouldNotSwitchUser = 250;

// Runs `work` in a child process as nobody:nogroup and gives back what it
// returned (0…249), or kCouldNotSwitchUser. Only root can switch users.
inline int runAsNobody(const std::function<int()>& work)
{
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0)
        return kCouldNotSwitchUser;
    if (child == 0) {
        if (setgroups(0, nullptr) != 0 || setresgid(kNoGroup, kNoGroup, kNoGroup) != 0
            || setresuid(kNobody, kNobody, kNobody) != 0)
            _exit(kCouldNotSwitchUser);
        _exit(work());
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return kCouldNotSwitchUser;
    return WEXITSTATUS(status);
}

}  // namespace fixture
