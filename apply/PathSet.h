#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// A set of paths kept as 64-bit hashes in one open table: a pass of a
// million renames remembers which paths it moved with 16 bytes a path.
// Two paths whose hashes meet (about once in 2^64 / size) count as one.
class PathSet {
public:
    void insert(std::string_view path);
    bool contains(std::string_view path) const;

private:
    std::size_t slotOf(std::uint64_t hash) const;

    std::vector<std::uint64_t> m_slots;  // 0: empty
    std::size_t m_count = 0;
};
