#pragma once

#include <string>
#include <string_view>

// What we know in advance about the names a file system can hold, to turn a
// name away before a driver that would lose the file on it gets to see it.
// Only the FAT family has rules here (and fusefat, which holds ASCII names
// only, rules of its own); everywhere else the file system itself is the
// judge.
//
// For a row of the list: FileSystemRules::forFolder(folder) for the folder
// the proposed name ends up in (a '/' in it reaches into a sub-folder), then
// refusal() of its last component, and nameMax() for the length.
class FileSystemRules {
public:
    // The rules of the file system that holds the folder `path` names
    // relative to dirFd (as for the *at calls; "" is the folder itself).
    // Read once per mounted file system and then kept. A folder that cannot
    // be examined gets no rules.
    static FileSystemRules forFolder(int dirFd, const std::string& path);
    static FileSystemRules forFolder(const std::string& path);

    // Whether names that differ in letter case alone name one entry here,
    // as on the FAT family. Where this cannot be known in advance, the
    // rename finds out from the kernel (see RenameSession).
    bool ignoresCase() const noexcept { return m_fatFamily; }

    // Whether a file keeps its inode number whatever its name: FUSE drivers
    // may number inodes by path (sshfs, fusefat), so there a file is told
    // by its size and time of change instead (see FileMark).
    bool stableInodes() const noexcept { return !m_fuse; }

    // Whether a folder's listing gives a plain file the inode number a look
    // at the file gives: true only where we know it does (overlayfs, for
    // one, may not).
    bool listsInodes() const noexcept { return m_listsInodes; }

    // The longest name the file system takes, in bytes as it reports them
    // (statfs f_namelen); 0 when unknown.
    long nameMax() const noexcept { return m_nameMax; }

    // Why `name`, one entry's name, cannot be held here, or empty when
    // nothing we know of stands against it.
    std::string refusal(std::string_view name) const;

private:
    bool m_fatFamily = false;
    bool m_asciiOnly = false;
    bool m_fuse = false;
    bool m_listsInodes = false;
    long m_nameMax = 0;
};
