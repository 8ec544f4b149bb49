#include "disk/FolderListing.h"

#include "text/LetterCase.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int readFolder(int folderFd, const std::function<void(std::string_view name, EntryKind kind)>& each)
{
    const int listFd = dup(folderFd);
    DIR* dir = listFd < 0 ? nullptr : fdopendir(listFd);
    if (!dir) {
        const int error = errno;
        if (listFd >= 0)
            close(listFd);
        return error;
    }
    errno = 0;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        each(name, entry->d_type == DT_DIR                                   ? EntryKind::Folder
                   : entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN ? EntryKind::Unknown
                                                                             : EntryKind::File);
    }
    const int error = errno;  // set by readdir only when listing failed
    closedir(dir);
    return error;
}

int FolderListing::read(const std::string& folder)
{
    m_fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat status;
    if (m_fd < 0 || fstat(m_fd, &status) != 0)
        return errno;
    m_device = status.st_dev;
    m_inode = status.st_ino;
    // A folder lists each name once.
    return readFolder(m_fd, [this](std::string_view name, EntryKind) { m_byFold.emplace(foldedName(name), name); });
}

FolderListing::~FolderListing()
{
    if (m_fd >= 0)
        close(m_fd);
}

bool FolderListing::collides(std::string_view oldName, std::string_view newName,
                             const std::string& folded) const
{
    const auto [first, last] = m_byFold.equal_range(folded);
    for (auto entry = first; entry != last; ++entry) {
        if (entry->second == newName || entry->second != oldName)
            return true;
    }
    return false;
}

void FolderListing::add(std::string_view name)
{
    std::string folded = foldedName(name);
    const auto [first, last] = m_byFold.equal_range(folded);
    if (std::none_of(first, last, [&](const auto& entry) { return entry.second == name; }))
        m_byFold.emplace(std::move(folded), name);
}

void FolderListing::remove(std::string_view name)
{
    const auto [first, last] = m_byFold.equal_range(foldedName(name));
    const auto entry = std::find_if(first, last, [&](const auto& e) { return e.second == name; });
    if (entry != last)
        m_byFold.erase(entry);
}

void FolderListing::changeCase(std::string_view oldName, std::string_view newName, const std::string& folded)
{
    const auto [first, last] = m_byFold.equal_range(folded);
    const auto entry = std::find_if(first, last, [&](const auto& e) { return e.second == oldName; });
    if (entry != last && std::none_of(first, last, [&](const auto& e) { return e.second == newName; }))
        entry->second = newName;
    else if (entry != last)
        m_byFold.erase(entry);
    else
        add(newName);
}
