#include "disk/FolderNames.h"

#include "disk/FileSystemRules.h"
#include "disk/FolderListing.h"
#include "text/LetterCase.h"

#include <fcntl.h>
#include <unistd.h>

namespace {

FolderNames::Kind kindListed(EntryKind kind)
{
    switch (kind) {
    case EntryKind::File:
        return FolderNames::Kind::File;
    case EntryKind::Folder:
        return FolderNames::Kind::Folder;
    case EntryKind::Unknown:
        break;
    }
    return FolderNames::Kind::Unknown;
}

} // namespace

FolderNames::FolderNames(const std::string& folder)
{
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    m_exists = true;
    m_ignoresCase = FileSystemRules::forFolder(fd, {}).ignoresCase();
    readFolder(fd, [this](std::string_view name, EntryKind kind) {
        m_names.insert(key(name), static_cast<std::uint8_t>(kindListed(kind)));
        if (m_ignoresCase)
            m_spellings.insert(name);
    });
    close(fd);
}

std::string FolderNames::key(std::string_view name) const
{
    return m_ignoresCase ? foldedName(name) : std::string(name);
}

std::size_t FolderNames::indexOf(std::string_view name) const
{
    return m_ignoresCase ? find(key(name)) : find(name);
}

FolderNames::Kind FolderNames::kindOf(std::string_view name)
{
    const std::size_t index = indexOf(name);
    return index == NameSet::npos ? Kind::Missing : kind(index);
}

FolderNames& FolderNamesCache::of(std::string_view folder)
{
    if (m_last && folder == m_lastPath)
        return *m_last;
    auto [at, added] = m_folders.try_emplace(std::string(folder));
    if (added)
        at->second = std::make_unique<FolderNames>(at->first);
    m_lastPath = folder;
    m_last = at->second.get();
    return *m_last;
}
