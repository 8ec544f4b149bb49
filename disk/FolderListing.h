#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <unordered_map>

// What a folder's listing tells of one entry, without a call per entry.
enum class EntryKind : std::uint8_t {
    File,     // anything but a folder or a link
    Folder,
    Unknown,  // a link, or a file system that does not tell
};

// Reads the folder folderFd stands for, once: `each` gets every entry but
// "." and "..". 0, or the errno when the folder could not be read to its
// end. Every listing of a folder in the program is made here.
int readFolder(int folderFd, const std::function<void(std::string_view name, EntryKind kind)>& each);

// The names in one folder, read once and then kept up to date by whoever
// renames in it, with the folder held open so that its names can be
// reached without walking the path again. Names are found by their folded
// form (text/LetterCase.h): a change of case looks at those that fold alike.
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
