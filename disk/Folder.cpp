#include "disk/Folder.h"

#include "text/LetterCase.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

int openFolder(const std::string& path, FileIdentity& identity, int& error)
{
    const int fd = ::open(path.empty() ? "." : path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat status;
    if (fd < 0 || ::fstat(fd, &status) != 0) {
        error = errno;
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    identity = FileIdentity::of(status);
    return fd;
}

} // namespace

Folder::Folder(std::string path)
    : m_path(std::move(path))
{
    m_fd = openFolder(m_path, m_identity, m_error);
    if (m_fd >= 0)
        m_rules = FileSystemRules::forFolder(m_fd, {});
}

Folder::~Folder()
{
    letGo();
}

int Folder::fd()
{
    if (m_fd >= 0 || !exists() || m_error != 0)
        return m_fd;
    FileIdentity now;
    m_fd = openFolder(m_path, now, m_error);
    if (m_fd >= 0 && now != m_identity) {
        letGo();
        m_error = ESTALE;
    }
    return m_fd;
}

void Folder::letGo()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

std::string_view Folder::comparedName(std::string_view name, std::string& buffer) const
{
    if (!ignoresCase())
        return name;
    buffer = foldedName(name);
    return buffer;
}

bool Folder::writable()
{
    if (m_writable < 0)
        m_writable = fd() >= 0 && ::faccessat(m_fd, ".", W_OK | X_OK, 0) == 0;
    return m_writable > 0;
}

bool Folder::look(std::string_view name, struct stat& status)
{
    if (fd() < 0)
        return false;
    m_lookedAt.assign(name);
    return ::fstatat(m_fd, m_lookedAt.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0;
}

bool Folder::isAt(std::string_view path) const
{
    const std::string spelled = path.empty() ? std::string(".") : std::string(path);
    struct stat status;
    return ::stat(spelled.c_str(), &status) == 0 && FileIdentity::of(status) == m_identity;
}

FileMark Folder::listedMark(std::string_view name) const
{
    FileMark mark;
    if (m_names && m_rules.listsInodes())
        mark.identity = {m_identity.device, ino_t(m_names->listedInode(name))};
    return mark;
}

FolderNames& Folder::names()
{
    if (!m_names)
        m_names = std::make_unique<FolderNames>(fd(), ignoresCase());
    return *m_names;
}

int Folder::readNames(const FolderEntries& each)
{
    if (fd() < 0)
        return m_error;
    if (m_names)
        return readFolder(m_fd, each);
    int error = 0;
    auto names = std::make_unique<FolderNames>(m_fd, ignoresCase(), &error, each);
    if (error == 0)
        m_names = std::move(names);
    return error;
}

FolderNames* Folder::foldedNames(int& error)
{
    if (fd() < 0) {
        error = m_error;
        return nullptr;
    }
    if (ignoresCase())
        return &names();
    if (!m_folded) {
        auto folded = std::make_unique<FolderNames>(m_fd, true, &error);
        if (error != 0)
            return nullptr;
        m_folded = std::move(folded);
    }
    return m_folded.get();
}

// Only the folded names are asked while renames are made (for changes of
// case); the names as read, where case counts, would cost a look-up each
// rename to keep, and go instead, to be read again if asked.
FolderNames* Folder::foldedKeptInStep()
{
    if (!ignoresCase()) {
        m_names.reset();
        return m_folded.get();
    }
    return m_names.get();
}

void Folder::noteRemoved(std::string_view name)
{
    if (FolderNames* folded = foldedKeptInStep())
        folded->remove(name);
}

void Folder::noteCaseChanged(std::string_view oldName, std::string_view newName)
{
    if (FolderNames* folded = foldedKeptInStep())
        folded->changeCase(oldName, newName);
}

void Folder::noteAdded(std::string_view name)
{
    if (FolderNames* folded = foldedKeptInStep())
        folded->add(name);
}
