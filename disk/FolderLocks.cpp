#include "disk/FolderLocks.h"

#include "disk/Folder.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <sys/file.h>
#include <thread>

namespace {

// Another run's batch holds a folder for milliseconds.
constexpr auto kLongestWait = std::chrono::seconds(2);

bool lockWithin(int fd, std::chrono::steady_clock::time_point until)
{
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return false;
        if (std::chrono::steady_clock::now() >= until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

} // namespace

void FolderLocks::add(Folder& folder)
{
    // A batch's steps come folder by folder: most are in the folder of the last.
    if (!m_folders.empty() && m_folders.back() == &folder)
        return;
    if (folder.exists() && std::find(m_folders.begin(), m_folders.end(), &folder) == m_folders.end())
        m_folders.push_back(&folder);
}

void FolderLocks::take()
{
    std::sort(m_folders.begin(), m_folders.end(),
              [](const Folder* a, const Folder* b) { return a->identity() < b->identity(); });
    const auto until = std::chrono::steady_clock::now() + kLongestWait;
    for (Folder* folder : m_folders) {
        const int fd = folder->fd();
        if (fd >= 0 && lockWithin(fd, until))
            m_held.push_back(fd);
    }
    m_folders.clear();
}

void FolderLocks::release()
{
    for (const int fd : m_held)
        ::flock(fd, LOCK_UN);
    m_held.clear();
    m_folders.clear();
}
