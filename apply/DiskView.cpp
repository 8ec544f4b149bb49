#include "apply/DiskView.h"

#include "apply/PathKey.h"
#include "disk/Folder.h"
#include "disk/FolderNames.h"
#include "disk/Folders.h"
#include "text/FileNames.h"
#include "text/MixedHash.h"

#include <sys/stat.h>

Folder& DiskView::folder(std::string_view path)
{
    if (m_moves.empty())
        return m_folders.of(path);
    const std::string spelled(path);
    return m_folders.of(m_moves.onDisk(spelled).value_or(spelled));
}

void DiskView::folderMoved(std::string_view oldPath, std::string_view newPath)
{
    m_moves.moved(std::string(oldPath), std::string(newPath));
}

std::uint64_t DiskView::key(std::string_view path)
{
    const Folder& folder = this->folder(FolderOfPath(path));
    return pathKey(folder, folder.comparedName(NameOfPath(path), m_compared));
}

DiskView::Look DiskView::look(Folder& folder, std::string_view name)
{
    const std::string_view compared = folder.comparedName(name, m_compared);
    const std::uint64_t hash = mixedHash(compared);
    Look look = lookUp(folder, name, compared, hash);
    look.key = pathKey(folder, hash);
    return look;
}

bool DiskView::spelledExactly(std::string_view folder, std::string_view name)
{
    return this->folder(folder).names().spelledExactly(name);
}

DiskView::Look ListedDisk::lookUp(Folder& folder, std::string_view name, std::string_view compared, std::uint64_t hash)
{
    const FolderNames& names = folder.names();
    if (&names != m_lastNames) {
        const auto [at, added] = m_firstPlace.try_emplace(&names, m_listedCount);
        if (added)
            m_listedCount += names.indexCount();
        m_lastNames = &names;
        m_lastFirst = at->second;
    }
    const std::size_t index = names.indexOfCompared(compared, hash);
    if (index == NameSet::npos)
        return {};
    return {true, m_lastFirst + index, 0, names.kindUnlessFile(name) == FolderNames::Kind::Folder};
}

DiskView::Look LookedUpDisk::lookUp(Folder& folder, std::string_view name, std::string_view, std::uint64_t)
{
    struct stat status;
    const bool held = folder.look(name, status);
    return {held, npos, 0, held && S_ISDIR(status.st_mode)};
}
