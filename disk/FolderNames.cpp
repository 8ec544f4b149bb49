#include "disk/FolderNames.h"

#include "text/LetterCase.h"

#include <cerrno>
#include <dirent.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

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

namespace {

EntryKind kindOf(const dirent64& entry)
{
    return entry.d_type == DT_DIR                                  ? EntryKind::Folder
           : entry.d_type == DT_LNK || entry.d_type == DT_UNKNOWN ? EntryKind::Unknown
                                                                    : EntryKind::File;
}

// The folder's entries with getdents64 straight into a buffer of our own:
// readdir would read through a descriptor of its own (dup, fdopendir and
// their checks, five calls a folder) in steps half as big. The reading
// starts at the folder's start: one descriptor is read again (its names
// folded, a walk after a look), and the place where a reading stopped is
// the descriptor's, shared by every dup of it.
template <typename Each>
int readEntries(int folderFd, const Each& each)
{
    if (::lseek(folderFd, 0, SEEK_SET) < 0)
        return errno;
    alignas(dirent64) char buffer[1 << 16];
    for (;;) {
        const long got = ::syscall(SYS_getdents64, folderFd, buffer, sizeof buffer);
        if (got < 0)
            return errno;
        if (got == 0)
            return 0;
        for (long at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + at);
            at += entry->d_reclen;
            const std::string_view name(entry->d_name);
            if (name == "." || name == "..")
                continue;
            each(name, *entry);
        }
    }
}

} // namespace

int readFolder(int folderFd, const FolderEntries& each)
{
    return readEntries(folderFd, [&](std::string_view name, const dirent64& entry) { each(name, kindOf(entry)); });
}

FolderNames::FolderNames(int folderFd, bool ignoresCase, int* error, const FolderEntries& each)
    : m_ignoresCase(ignoresCase)
{
    if (folderFd < 0)
        return;
    // The names are gathered first and the table made once at its size:
    // grown name by name, it would be made again ten times over.
    std::string names;
    std::vector<std::uint16_t> lengths;
    std::vector<std::uint64_t> inodes;
    if (!m_ignoresCase)
        m_names.keepPayloads();
    const int failed = readEntries(folderFd, [&](std::string_view name, const dirent64& entry) {
        const EntryKind kind = kindOf(entry);
        names.append(name);
        lengths.push_back(std::uint16_t(name.size()));
        if (!m_ignoresCase)
            inodes.push_back(kind == EntryKind::File ? entry.d_ino : 0);
        if (const Kind listed = kindListed(kind); listed != Kind::File)
            m_otherKinds.insert(m_ignoresCase ? key(name) : name, static_cast<std::uint8_t>(listed));
        if (each)
            each(name, kind);
    });
    m_names.reserve(lengths.size(), m_ignoresCase ? 0 : names.size() + inodes.size() * sizeof(std::uint64_t));
    if (m_ignoresCase)
        m_spellings.reserve(lengths.size(), names.size());
    std::size_t at = 0;
    for (std::size_t index = 0; index < lengths.size(); ++index) {
        const std::string_view name = std::string_view(names).substr(at, lengths[index]);
        if (m_ignoresCase)
            add(name);
        else
            m_names.insert(name, 0, inodes[index]);
        at += lengths[index];
    }
    if (error)
        *error = failed;
}

std::string FolderNames::key(std::string_view name) const
{
    return m_ignoresCase ? foldedName(name) : std::string(name);
}

std::uint64_t FolderNames::listedInode(std::string_view name) const
{
    if (m_ignoresCase)
        return 0;
    const std::size_t index = m_names.find(name);
    return index == NameSet::npos ? 0 : m_names.payload(index);
}

std::size_t FolderNames::indexOf(std::string_view name) const
{
    return m_ignoresCase ? m_names.find(key(name)) : m_names.find(name);
}

FolderNames::Kind FolderNames::kindUnlessFile(std::string_view name) const
{
    if (m_otherKinds.empty())
        return Kind::File;
    const std::size_t index = m_ignoresCase ? m_otherKinds.find(key(name)) : m_otherKinds.find(name);
    return index == NameSet::npos ? Kind::File : static_cast<Kind>(m_otherKinds.value(index));
}

bool FolderNames::collides(std::string_view oldName, std::string_view newName, std::string_view folded) const
{
    if (spelledExactly(newName))
        return true;
    const std::size_t index = m_names.find(folded);
    return index != NameSet::npos && m_names.value(index) > (spelledExactly(oldName) ? 1 : 0);
}

void FolderNames::changeCase(std::string_view oldName, std::string_view newName)
{
    if (!m_ignoresCase || !spelledExactly(oldName) || spelledExactly(newName)) {
        remove(oldName);
        return add(newName);
    }
    m_spellings.erase(oldName);
    m_spellings.insert(newName);
}

void FolderNames::add(std::string_view name)
{
    if (!m_ignoresCase) {
        m_names.insert(name);
        return;
    }
    if (!m_spellings.insert(name))
        return;
    const std::string folded = key(name);
    if (!m_names.insert(folded, 1)) {
        std::uint8_t& spellings = m_names.value(m_names.find(folded));
        spellings += spellings < 255;
    }
}

void FolderNames::remove(std::string_view name)
{
    if (!m_ignoresCase)
        return m_names.erase(name);
    if (!spelledExactly(name))
        return;
    m_spellings.erase(name);
    const std::string folded = key(name);
    const std::size_t index = m_names.find(folded);
    if (index != NameSet::npos && --m_names.value(index) == 0)
        m_names.erase(folded);
}
