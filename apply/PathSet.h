#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// What a pass has done to paths, kept as 64-bit hashes in one open table:
// a pass of a million renames remembers which paths it moved away and
// which it gave to files with 16 bytes a path. Two paths whose hashes meet
// (about once in 2^64 / size) count as one.
class PathSet {
public:
    enum Mark : std::uint8_t {
        MovedAway = 1,  // the file at this path was renamed away
        Placed = 2,     // a file was renamed to this path
    };

    // The marks of a path, found by its hash (hashOf).
    std::uint8_t marks(std::uint64_t hash) const;
    void mark(std::uint64_t hash, Mark mark);

    static std::uint64_t hashOf(std::string_view path) noexcept;

private:
    struct Slot {
        std::uint64_t hash = 0;  // 0: empty
        std::uint8_t marks = 0;
    };
    std::size_t slotOf(std::uint64_t hash) const;

    std::vector<Slot> m_slots;
    std::size_t m_count = 0;
};
