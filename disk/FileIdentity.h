#pragma once

#include <cstdint>
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

// A file as a run saw it, to tell it again later: by its identity, and
// where its file system does not keep inode numbers (see
// FileSystemRules::stableInodes), by its size and time of change.
struct FileMark {
    FileIdentity identity;
    std::int64_t size = 0;
    std::int64_t modified = 0;  // nanoseconds since the epoch
    bool stableInodes = true;

    static FileMark of(const struct stat& status, bool stableInodes) noexcept
    {
        return {FileIdentity::of(status), status.st_size,
                std::int64_t(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec, stableInodes};
    }
    bool known() const noexcept { return identity.known(); }
    // Whether `status` is of this file. A device of 0 (a journal that did
    // not record it) matches any.
    bool matches(const struct stat& status) const noexcept
    {
        if (!stableInodes)
            return status.st_size == size && of(status, false).modified == modified;
        return status.st_ino == identity.inode && (identity.device == 0 || status.st_dev == identity.device);
    }
};
