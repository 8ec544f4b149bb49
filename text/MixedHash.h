#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

// The standard hash of a text, its bits mixed once more (the finish of
// MurmurHash3): names that differ in one digit otherwise crowd together in
// an open table.
inline std::uint64_t mixedHash(std::string_view text) noexcept
{
    std::uint64_t h = std::hash<std::string_view>{}(text);
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    h *= 0xc4ceb9fe1a85ec53ULL;
    h ^= h >> 33;
    return h;
}
