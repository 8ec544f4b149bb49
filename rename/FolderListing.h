#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>
#include <unordered_map>

// The names in one folder, read once and then kept up to date by whoever
// renames in it, with the folder held open so that its names can be
// reached without walking the path again. Names are found by their folded
// form (FoldedName.h): a change of case looks at those that fold alike.
class FolderListing {
public:
    // Opens and reads the folder; 0 or the errno of the failure.
    int read(const std::string& folder);
    ~FolderListing();

    int fd() const noexcept { return m_fd; }
    dev_t device() const noexcept { return m_device; }
    ino_t inode() const noexcept { return m_inode; }

    // Whether the folder lists an entry that newName (folded: `folded`)
    // would collide with, for the file called oldName: one spelled exactly
    // like newName, or another than oldName that differs from it in case.
    bool collides(std::string_view oldName, std::string_view newName, const std::string& folded) const;

    void add(std::string_view name);
    void remove(std::string_view name);
    // oldName became newName, which folds alike (`folded`).
    void changeCase(std::string_view oldName, std::string_view newName, const std::string& folded);

private:
    int m_fd = -1;
    dev_t m_device = 0;
    ino_t m_inode = 0;
    std::unordered_multimap<std::string, std::string> m_byFold;  // folded name -> name
};
