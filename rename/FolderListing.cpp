#include "rename/FolderListing.h"

#include "rename/FoldedName.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

int FolderListing::read(const std::string& folder)
{
    m_fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat status;
    if (m_fd < 0 || fstat(m_fd, &status) != 0)
        return errno;
    m_device = status.st_dev;
    m_inode = status.st_ino;
    const int listFd = dup(m_fd);
    DIR* dir = listFd < 0 ? nullptr : fdopendir(listFd);
    if (!dir) {
        const int error = errno;
        if (listFd >= 0)
            close(listFd);
        return error;
    }
    std::vector<std::string> names;
    errno = 0;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    const int error = errno;  // set by readdir only when listing failed
    closedir(dir);
    // A folder lists each name once.
    m_byFold.reserve(names.size());
    for (std::string& name : names)
        m_byFold.emplace(foldedName(name), std::move(name));
    return error;
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
