#include "apply/DiskView.h"

#include "disk/FolderNames.h"
#include "listcore/FileNames.h"
#include "text/LetterCase.h"

#include <sys/stat.h>
#include <unistd.h>

const DiskView::Folder& DiskView::folder(std::string_view path)
{
    if (m_last && path == m_lastPath)
        return *m_last;
    auto [at, added] = m_folders.try_emplace(std::string(path));
    if (added) {
        const std::string name = path.empty() ? std::string(".") : std::string(path);
        struct stat status;
        Folder& folder = at->second;
        folder.exists = stat(name.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
        if (folder.exists) {
            folder.device = status.st_dev;
            folder.writable = access(name.c_str(), W_OK | X_OK) == 0;
            folder.rules = FileSystemRules::forFolder(name);
        }
    }
    m_lastPath = path;
    m_last = &at->second;
    return *m_last;
}

std::string_view DiskView::key(std::string_view path, std::string& folded)
{
    const std::string_view folderPath = FolderOfPath(path);
    if (!folder(folderPath).rules.ignoresCase())
        return path;
    folded.assign(folderPath);
    folded += foldedName(NameOfPath(path));
    return folded;
}

DiskView::Look ListedDisk::look(std::string_view folder, std::string_view name)
{
    const FolderNames& names = m_folders.of(folder);
    if (&names != m_lastNames) {
        const auto [at, added] = m_firstPlace.try_emplace(&names, m_listedCount);
        if (added)
            m_listedCount += names.indexCount();
        m_lastNames = &names;
        m_lastFirst = at->second;
    }
    const std::size_t index = names.indexOf(name);
    if (index == NameSet::npos)
        return {};
    return {true, m_lastFirst + index};
}

bool ListedDisk::spelledExactly(std::string_view folder, std::string_view name)
{
    return m_folders.of(folder).spelledExactly(name);
}

DiskView::Look LookedUpDisk::look(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    path += name;
    struct stat status;
    return {lstat(path.c_str(), &status) == 0, npos};
}

bool LookedUpDisk::spelledExactly(std::string_view folder, std::string_view name)
{
    return FolderNames(std::string(folder)).spelledExactly(name);
}
