#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>
#include <unordered_map>
#include <unordered_set>

// The names in one folder, read once and then kept up to date by whoever
// renames in it, with the folder held open so that its names can be
// reached without walking the path again.
class FolderListing {
public:
    // Opens and reads the folder; 0 or the errno of the failure.
    int read(const std::string& folder);
    ~FolderListing();

    int fd() const noexcept { return m_fd; }
    dev_t device() const noexcept { return m_device; }
    ino_t inode() const noexcept { return m_inode; }

    // Whether the folder lists an entry that newName would collide with, for
    // the file called oldName: one spelled exactly like newName, or another
    // than oldName that differs from newName in letter case alone.
    bool collides(const std::string& oldName, const std::string& newName) const;

    void add(const std::string& name);
    void remove(const std::string& name);

private:
    int m_fd = -1;
    dev_t m_device = 0;
    ino_t m_inode = 0;
    std::unordered_set<std::string> m_names;
    std::unordered_map<std::u32string, std::size_t> m_foldedCounts;
};
