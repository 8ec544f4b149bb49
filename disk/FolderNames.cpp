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
        const std::string folded = m_ignoresCase ? key(name) : std::string();
        const std::string_view stored = m_ignoresCase ? std::string_view(folded) : name;
        m_names.insert(stored);
        if (m_ignoresCase)
            m_spellings.insert(name);
        if (const Kind listed = kindListed(kind); listed != Kind::File)
            m_otherKinds.insert(stored, static_cast<std::uint8_t>(listed));
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

FolderNames::Kind FolderNames::kindUnlessFile(std::string_view name) const
{
    if (m_otherKinds.size() == 0)
        return Kind::File;
    const std::size_t index = m_ignoresCase ? m_otherKinds.find(key(name)) : m_otherKinds.find(name);
    return index == NameSet::npos ? Kind::File : static_cast<Kind>(m_otherKinds.value(index));
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
