#include "disk/Folders.h"

#include "disk/Folder.h"

#include <algorithm>
#include <sys/resource.h>

Folders::Folders()
{
    struct rlimit limit;
    const bool told = getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY;
    m_openAtMost = told ? std::max<std::size_t>(limit.rlim_cur / 2, 16) : 512;
}

Folders::~Folders() = default;

Folder& Folders::of(std::string_view path)
{
    if (m_last && path == m_lastPath && m_last->isOpen())
        return *m_last;
    m_lastPath = path;
    const auto known = m_bySpelling.find(m_lastPath);
    m_last = known == m_bySpelling.end() ? nullptr : known->second;
    const bool opens = !m_last || !m_last->isOpen();
    if (m_last && !m_last->exists())
        m_last = cameSince(m_lastPath, m_last);
    if (!m_last) {
        auto made = std::make_unique<Folder>(m_lastPath);
        if (!made->exists())
            m_last = m_missing.emplace(m_lastPath, std::move(made)).first->second.get();
        else
            m_last = m_byIdentity.try_emplace(made->identity(), std::move(made)).first->second.get();
        m_bySpelling.emplace(m_lastPath, m_last);
    }
    // Where the folder (re)opens its descriptor and that makes too many, the
    // others let theirs go.
    if (opens && m_last->fd() >= 0 && ++m_opened > m_openAtMost) {
        for (const auto& [identity, other] : m_byIdentity) {
            if (other.get() != m_last)
                other->letGo();
        }
        m_opened = 1;
    }
    return *m_last;
}

Folder* Folders::cameSince(const std::string& path, Folder* missing)
{
    auto made = std::make_unique<Folder>(path);
    if (!made->exists())
        return missing;
    // The missing one stays: what was learnt of it may still be held.
    Folder* folder = m_byIdentity.try_emplace(made->identity(), std::move(made)).first->second.get();
    m_bySpelling[path] = folder;
    return folder;
}
