#include "runs/TreeWalk.h"

#include "disk/Folder.h"
#include "disk/Folders.h"
#include "text/NaturalOrder.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fnmatch.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The names of one folder side by side, sorted when asked.
struct NameList {
    std::string bytes;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> spans;

    void add(std::string_view name)
    {
        spans.emplace_back(std::uint32_t(bytes.size()), std::uint32_t(name.size()));
        bytes.append(name);
    }
    std::string_view at(std::size_t i) const { return std::string_view(bytes).substr(spans[i].first, spans[i].second); }
    // Byte by byte. Names of one folder often begin alike (IMG_000…), so
    // each is first told apart by the eight bytes after what they all
    // share, read as one number: most pairs are ordered without a look at
    // their bytes.
    void sort()
    {
        if (spans.size() < 2)
            return;
        const std::string_view first = at(0);
        std::size_t shared = first.size();
        for (std::size_t i = 1; i < spans.size() && shared > 0; ++i) {
            const std::string_view name = at(i);
            shared = std::min(shared, name.size());
            shared = std::size_t(std::mismatch(first.begin(), first.begin() + shared, name.begin()).first - first.begin());
        }
        struct Keyed {
            std::uint64_t key;
            std::pair<std::uint32_t, std::uint32_t> span;
        };
        std::vector<Keyed> keyed;
        keyed.reserve(spans.size());
        for (std::size_t i = 0; i < spans.size(); ++i) {
            const std::string_view rest = at(i).substr(shared);
            // The first eight bytes, the first the highest, zeros past the end.
            unsigned char first[8] = {};
            std::memcpy(first, rest.data(), std::min<std::size_t>(rest.size(), 8));
            std::uint64_t key;
            std::memcpy(&key, first, 8);
            if constexpr (std::endian::native == std::endian::little)
                key = __builtin_bswap64(key);
            keyed.push_back({key, spans[i]});
        }
        const std::string_view all(bytes);
        const std::size_t told = shared + 8;
        std::sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
            if (a.key != b.key)
                return a.key < b.key;
            // No name holds a NUL: equal keys end in the same place or
            // both go on.
            const std::string_view x = all.substr(a.span.first, a.span.second);
            const std::string_view y = all.substr(b.span.first, b.span.second);
            return x.substr(std::min(told, x.size())) < y.substr(std::min(told, y.size()));
        });
        for (std::size_t i = 0; i < spans.size(); ++i)
            spans[i] = keyed[i].span;
    }
};

} // namespace

std::string folderAsGiven(std::string_view path)
{
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    return std::string(path);
}

TreeWalk::TreeWalk(const TreeChoice& choice, RowOrder order, Folders& folders, Take take)
    : m_choice(choice), m_order(order), m_folders(folders), m_take(std::move(take))
{
}

bool TreeWalk::matches(const std::vector<std::string>& globs, const char* name) const
{
    // fnmatch sets errno on a name it cannot read, and the listing that
    // calls this tells its own failure by errno.
    const int listing = errno;
    const bool matched = std::any_of(globs.begin(), globs.end(), [&](const std::string& glob) {
        const int result = ::fnmatch(glob.c_str(), name, 0);
        if (result != FNM_NOMATCH && result != 0) {
            // A name that is no text in the locale is matched byte by byte.
            static const locale_t bytes = newlocale(LC_ALL_MASK, "C", locale_t(0));
            const locale_t before = uselocale(bytes);
            const bool byBytes = ::fnmatch(glob.c_str(), name, 0) == 0;
            uselocale(before);
            return byBytes;
        }
        return result == 0;
    });
    errno = listing;
    return matched;
}

void TreeWalk::walk(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat status;
    if (fd < 0 || ::fstat(fd, &status) != 0) {
        m_take(folder, Found::Unreadable, std::strerror(errno));
        if (fd >= 0)
            ::close(fd);
        return;
    }
    std::string path = folder;
    if (path.back() != '/')
        path += '/';
    walkOpen(fd, path, status.st_dev);
    ::close(fd);
}

// `path` ends in '/'; it is given back as it came. False when the folder
// could not be read.
bool TreeWalk::walkOpen(int fd, std::string& path, unsigned long device)
{
    const std::size_t base = path.size();
    // Only where the files keep the order they come in does the walk put
    // them in one; the sort after the intake orders them otherwise.
    const bool sortsFiles = m_order == RowOrder::Given;
    NameList files;
    NameList folders;
    std::vector<bool> linked;  // of folders: a link to one
    std::string name;
    const FolderEntries visit = [&](std::string_view found, EntryKind kind) {
        if (!m_choice.hidden && found.front() == '.')
            return;
        // Only a glob or a look at the entry needs the name on its own.
        const bool named = !m_choice.exclude.empty() || !m_choice.include.empty() || kind == EntryKind::Unknown;
        if (named)
            name.assign(found);
        if (named && matches(m_choice.exclude, name.c_str()))
            return;
        bool link = false;
        if (kind == EntryKind::Unknown) {
            struct stat status;
            const bool looked = ::fstatat(fd, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0;
            link = looked && S_ISLNK(status.st_mode);
            const bool folder = looked && (link ? ::fstatat(fd, name.c_str(), &status, 0) == 0 : true)
                                && S_ISDIR(status.st_mode);
            kind = folder ? EntryKind::Folder : EntryKind::File;
            link = link && folder;
        }
        if (kind == EntryKind::Folder) {
            folders.add(found);
            linked.push_back(link);
        } else if (m_choice.include.empty() || matches(m_choice.include, name.c_str())) {
            if (sortsFiles) {
                files.add(found);
            } else {
                path.append(found);
                m_take(path, Found::File, {});
                path.resize(base);
            }
        }
    };
    // The rows' folder reads its names in this same reading, where it is the
    // folder walked: the preview then reads none again.
    Folder& folder = m_folders.of(path);
    struct stat status;
    const bool same = folder.exists() && ::fstat(fd, &status) == 0 && FileIdentity::of(status) == folder.identity();
    const int failed = same ? folder.readNames(visit) : readFolder(fd, visit);
    if (failed != 0) {
        path.resize(base - 1);
        m_take(path, Found::Unreadable, std::strerror(failed));
        path += '/';
        return false;
    }
    if (sortsFiles) {
        files.sort();
        for (std::size_t i = 0; i < files.spans.size(); ++i) {
            path.append(files.at(i));
            m_take(path, Found::File, {});
            path.resize(base);
        }
    }
    std::vector<std::size_t> order(folders.spans.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return m_order == RowOrder::Natural ? naturalCompare(folders.at(a), folders.at(b)) < 0
                                            : folders.at(a) < folders.at(b);
    });
    for (const std::size_t i : order) {
        path.append(folders.at(i));
        const bool renamed = m_choice.folders && (m_choice.include.empty() || matches(m_choice.include, path.c_str() + base));
        if (!linked[i]) {
            const int child = ::openat(fd, path.c_str() + base, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            struct stat status;
            if (child < 0) {
                m_take(path, Found::Unreadable, std::strerror(errno));
                path.resize(base);
                continue;
            }
            const bool elsewhere = m_choice.oneFileSystem && (::fstat(child, &status) != 0 || status.st_dev != device);
            if (elsewhere) {
                ::close(child);
                path.resize(base);
                continue;
            }
            path += '/';
            const bool read = walkOpen(child, path, device);
            ::close(child);
            path.pop_back();
            if (!read) {
                path.resize(base);
                continue;
            }
        }
        if (renamed)
            m_take(path, Found::Folder, {});
        path.resize(base);
    }
    return true;
}
