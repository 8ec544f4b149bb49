#pragma once

#include <cstdint>
#include <string_view>
#include <cstdlib>
#include <memory>

// What a pass has done to paths, kept as hashes in one open table: a pass
// of a million renames remembers which paths it moved away and which it gave
// to files with 16 bytes a path. A slot holds the top 62 bits of a path's
// hash and the path's two marks below them; two paths whose hashes meet
// (about once in 2^62 / size) count as one.
class PathSet {
public:
    enum Mark : std::uint8_t {
        MovedAway = 1,  // the file at this path was renamed away
        Placed = 2,     // a file was renamed to this path
    };

    // Room for `count` paths without growing.
    void reserve(std::size_t count);
    // The marks of a path, found by its hash (hashOf).
    std::uint8_t marks(std::uint64_t hash) const;
    void mark(std::uint64_t hash, Mark mark);
    // Asks the memory for the slot a look for `hash` starts at, for a look
    // to come: in a table of millions, nearly every look misses the cache.
    void prefetch(std::uint64_t hash) const noexcept
    {
        if (m_size != 0)
            __builtin_prefetch(&m_slots[(hash >> 2) & (m_size - 1)]);
    }

    // Never 0, and 0 in its two lowest bits.
    static std::uint64_t hashOf(std::string_view path) noexcept;
    // The same made of a hash mixed already.
    static std::uint64_t ofMixed(std::uint64_t hash) noexcept
    {
        hash &= ~kMarkBits;
        return hash == 0 ? kMarkBits + 1 : hash;
    }

private:
    static constexpr std::uint64_t kMarkBits = 3;
    std::size_t slotOf(std::uint64_t hash) const;
    void grow(std::size_t slots);

    // hash | marks; 0: empty.
    struct Free {
        void operator()(std::uint64_t* slots) const noexcept { std::free(slots); }
    };
    std::unique_ptr<std::uint64_t[], Free> m_slots;
    std::size_t m_size = 0;
    std::size_t m_count = 0;
};
