#include "rename/RenameNoReplace.h"

#include "rename/Utf8.h"

#include <cerrno>
#include <cstdio>  // renameat2, RENAME_NOREPLACE
#include <cstring>
#include <cwctype>
#include <dirent.h>
#include <fcntl.h>
#include <locale.h>
#include <random>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

int systemRenameAt2(int oldDirFd, const char* oldPath, int newDirFd, const char* newPath,
                    unsigned int flags)
{
    return ::renameat2(oldDirFd, oldPath, newDirFd, newPath, flags);
}

RenameResult failure(int code, std::string detail = {})
{
    const std::error_code error(code, std::generic_category());
    return {error, error.message() + detail};
}

std::string errorText(int code)
{
    return std::error_code(code, std::generic_category()).message();
}

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

// --- Letter case -----------------------------------------------------------

// Case mapping that does not hang on the user's locale: the C.UTF-8 locale
// is built into glibc. Without it only ASCII letters fold.
locale_t caseLocale()
{
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    return locale;
}

char32_t foldCase(char32_t c)
{
    if (const locale_t locale = caseLocale())
        return static_cast<char32_t>(towlower_l(towupper_l(static_cast<wint_t>(c), locale), locale));
    return c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : c;
}

// A stray byte stays itself, kept apart from every code point.
std::vector<char32_t> foldedName(std::string_view name)
{
    constexpr char32_t kStrayByte = 0x80000000u;
    std::vector<char32_t> folded;
    for (std::size_t pos = 0; pos < name.size();) {
        const utf8::DecodedChar c = utf8::decodeChar(name, pos);
        folded.push_back(c.wellFormed ? foldCase(c.codePoint) : kStrayByte | c.codePoint);
        pos += c.size;
    }
    return folded;
}

// Same folder, spelled byte for byte alike, and last components that differ
// in letter case alone.
bool isCaseOnlyChange(const std::string& oldPath, const std::string& newPath)
{
    const SplitPath from = splitPath(oldPath);
    const SplitPath to = splitPath(newPath);
    return from.folder == to.folder && !from.name.empty() && from.name != to.name
        && foldedName(from.name) == foldedName(to.name);
}

// --- One hop that never replaces -------------------------------------------

bool refusesNoReplaceFlag(int error)
{
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

bool refusesHardLinks(int error)
{
    return error == EPERM || error == EMLINK || error == EOPNOTSUPP;
}

// For file systems without RENAME_NOREPLACE: a hard link claims the new name
// atomically, then the old name goes.
int renameByCheckAndLink(const char* from, const char* to)
{
    struct stat source;
    if (fstatat(AT_FDCWD, from, &source, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;

    struct stat target;
    if (fstatat(AT_FDCWD, to, &target, AT_SYMLINK_NOFOLLOW) == 0)
        return EEXIST;
    if (errno != ENOENT)
        return errno;

    if (!S_ISDIR(source.st_mode)) {
        if (linkat(AT_FDCWD, from, AT_FDCWD, to, 0) == 0) {
            if (unlinkat(AT_FDCWD, from, 0) == 0)
                return 0;
            const int unlinkError = errno;
            unlinkat(AT_FDCWD, to, 0);
            return unlinkError;
        }
        if (!refusesHardLinks(errno))
            return errno;
    }

    // Folders, and files where hard links are refused (FAT and the like):
    // something that appears at `to` between the check above and this call
    // would be replaced. No call of such a file system closes that gap.
    if (renameat(AT_FDCWD, from, AT_FDCWD, to) == 0)
        return 0;
    return errno;
}

// 0 or the errno of the refusal.
int renameHop(const std::string& from, const std::string& to)
{
    if (renameAt2Hook(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    const int error = errno;
    if (!refusesNoReplaceFlag(error))
        return error;
    return renameByCheckAndLink(from.c_str(), to.c_str());
}

// --- Change of case on file systems that ignore case ------------------------

std::string temporaryName()
{
    static std::mt19937_64 generator{std::random_device{}()};
    static const char digits[] = "0123456789abcdef";
    std::string name = ".tolvex-rename-" + std::to_string(getpid()) + '-';
    auto bits = generator();
    for (int i = 0; i < 12; ++i, bits >>= 4)
        name += digits[bits & 0xF];
    return name;
}

// EEXIST when the folder lists an entry that the new name would collide
// with: one spelled exactly like it, or another than the file itself that
// differs from it in case alone (where case is ignored, that is the entry
// that answered). 0 when there is none, or the errno of a failed listing.
int conflictListed(const std::string& folder, const std::string& oldName, const std::string& newName)
{
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return errno;
    const std::vector<char32_t> folded = foldedName(newName);
    int result = 0;
    errno = 0;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name == newName || (name != oldName && foldedName(name) == folded)) {
            result = EEXIST;
            break;
        }
    }
    if (result == 0)
        result = errno;  // set by readdir only when listing failed
    closedir(dir);
    return result;
}

// The file system said the new name exists, yet it differs from the old one
// only in case. Unless the folder lists another entry under that name (say a
// hard link spelled the new way, which must stay), the file itself answered:
// move it aside and back under the new spelling. Inode numbers cannot tell,
// as FUSE FAT drivers give the two spellings different ones.
RenameResult renameCaseOnly(const std::string& oldPath, const std::string& newPath)
{
    const SplitPath target = splitPath(newPath);
    if (const int conflict = conflictListed(target.folder, splitPath(oldPath).name, target.name))
        return failure(conflict);

    std::string temporary;
    int error = EEXIST;
    for (int attempt = 0; attempt < 16 && error == EEXIST; ++attempt) {
        temporary = target.folder + temporaryName();
        error = renameHop(oldPath, temporary);
    }
    if (error)
        return failure(error);

    error = renameHop(temporary, newPath);
    if (!error)
        return {};
    if (const int backError = renameHop(temporary, oldPath))
        return failure(error, "; moving it back failed too (" + errorText(backError)
                                  + "), it is now named " + temporary);
    return failure(error);
}

}  // namespace

RenameAt2Function renameAt2Hook = &systemRenameAt2;

RenameResult renameNoReplace(const std::string& oldPath, const std::string& newPath)
{
    if (oldPath == newPath)
        return {};
    const int error = renameHop(oldPath, newPath);
    if (!error)
        return {};
    if (error == EEXIST && isCaseOnlyChange(oldPath, newPath))
        return renameCaseOnly(oldPath, newPath);
    return failure(error);
}
