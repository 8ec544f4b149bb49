#pragma once

#include <sys/stat.h>
#include <sys/types.h>

// Which file an entry is, as its file system tells files apart: the same
// pair means the same file, whatever its name.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;

    bool known() const noexcept { return inode != 0; }
    static FileIdentity of(const struct stat& status) noexcept { return {status.st_dev, status.st_ino}; }
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
    friend auto operator<=>(const FileIdentity&, const FileIdentity&) = default;
};
