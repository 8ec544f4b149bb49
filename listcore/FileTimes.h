#pragma once

#include <cstdint>
#include <limits>
#include <string>

// The three times of a file in seconds since the epoch, kept as numbers: a
// list of a million files would spend most of its memory on their texts.
struct FileTimes {
    // A time the file system does not keep (many keep no creation time), or
    // all three when the path names nothing.
    static constexpr std::int64_t none = std::numeric_limits<std::int64_t>::min();

    std::int64_t created = none;
    std::int64_t accessed = none;
    std::int64_t modified = none;

    friend bool operator==(const FileTimes&, const FileTimes&) = default;
};

// What one look at a path tells the intake: whether it names a folder (or
// a link to one) and the times of the file. A symbolic link is followed, so
// the times are those of the file whose contents the user sees; a link that
// leads nowhere gets its own times, as a listing of its folder shows them.
struct FileLookup {
    bool isFolder = false;
    FileTimes times;
};
FileLookup lookUpFile(const std::string& path);
