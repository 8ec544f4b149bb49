#pragma once

#include <vector>

class Folder;

// The folders of one batch of renames, each held with an exclusive flock
// while the batch's files are looked at and renamed: two runs of ours over
// one folder then never rename between the other's look at a file and its
// rename of it, so neither moves a file the other just put there in place of
// the one it looked at. Taken in one order (by identity), so two runs never
// wait on each other in a circle; a lock that another program holds longer
// than a moment, or that the file system does not give, is gone without.
class FolderLocks {
public:
    FolderLocks() = default;
    ~FolderLocks() { release(); }
    FolderLocks(const FolderLocks&) = delete;
    FolderLocks& operator=(const FolderLocks&) = delete;

    void add(Folder& folder);
    // Locks every folder added since the last release.
    void take();
    void release();

private:
    std::vector<Folder*> m_folders;
    std::vector<int> m_held;
};
