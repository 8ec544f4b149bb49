#pragma once

#include <cstdint>
#include <string_view>

#define XXH_INLINE_ALL
#include <xxhash.h>

// A text's hash for an open table, every bit of it mixed: names that differ
// in one digit must not crowd together. XXH3 (libxxhash), inlined: a short
// name hashes in a few dozen instructions, a third of what std::hash takes.
inline std::uint64_t mixedHash(std::string_view text) noexcept
{
    return XXH3_64bits(text.data(), text.size());
}
