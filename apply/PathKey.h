#pragma once

#include "text/MixedHash.h"

#include <cstdint>
#include <string_view>

class Folder;

// What tells an entry of `folder` from every other in a pass, however its
// path was spelled, as a hash for a PathSet: its name as the folder
// compares names (Folder::comparedName), hashed (mixedHash), set in the
// space of the folder's identity (of its spelling where it does not exist).
std::uint64_t pathKey(const Folder& folder, std::uint64_t comparedNameHash);

inline std::uint64_t pathKey(const Folder& folder, std::string_view comparedName)
{
    return pathKey(folder, mixedHash(comparedName));
}
