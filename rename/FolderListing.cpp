#include "rename/FolderListing.h"

#include "rename/FoldedName.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    errno = 0;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name != "." && name != "..")
            add(std::string(name));
    }
    const int error = errno;  // set by readdir only when listing failed
    closedir(dir);
    return error;
}

FolderListing::~FolderListing()
{
    if (m_fd >= 0)
        close(m_fd);
}

bool FolderListing::collides(const std::string& oldName, const std::string& newName) const
{
    if (m_names.contains(newName))
        return true;
    const std::u32string folded = foldedName(newName);
    const auto found = m_foldedCounts.find(folded);
    std::size_t others = found == m_foldedCounts.end() ? 0 : found->second;
    if (others > 0 && m_names.contains(oldName) && foldedName(oldName) == folded)
        --others;
    return others > 0;
}

void FolderListing::add(const std::string& name)
{
    if (m_names.insert(name).second)
        ++m_foldedCounts[foldedName(name)];
}

void FolderListing::remove(const std::string& name)
{
    if (m_names.erase(name) == 0)
        return;
    const auto found = m_foldedCounts.find(foldedName(name));
    if (found != m_foldedCounts.end() && --found->second == 0)
        m_foldedCounts.erase(found);
}
