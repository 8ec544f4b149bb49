#include "apply/DiskView.h"

#include "apply/PathSet.h"
#include "disk/Folder.h"
#include "disk/FolderNames.h"
#include "disk/Folders.h"
#include "text/FileNames.h"

#include <sys/stat.h>

Folder& DiskView::folder(std::string_view path)
{
    return m_folders.of(path);
}

std::uint64_t DiskView::key(std::string_view path)
{
    return PathSet::hashOf(m_folders.key(path, m_key));
}

bool DiskView::spelledExactly(std::string_view folder, std::string_view name)
{
    return this->folder(folder).names().spelledExactly(name);
}

DiskView::Look ListedDisk::look(std::string_view folder, std::string_view name)
{
    const FolderNames& names = this->folder(folder).names();
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

DiskView::Look LookedUpDisk::look(std::string_view folder, std::string_view name)
{
    struct stat status;
    return {this->folder(folder).look(name, status), npos};
}
