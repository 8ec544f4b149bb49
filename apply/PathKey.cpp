#include "apply/PathKey.h"

#include "apply/PathSet.h"
#include "disk/Folder.h"
#include "text/MixedHash.h"

std::uint64_t pathKey(const Folder& folder, std::string_view comparedName)
{
    // Distinct inodes of one device give distinct seeds (the multiplier is
    // odd); seeds that met anyway would only make a pass more careful.
    const FileIdentity identity = folder.identity();
    const std::uint64_t seed = folder.exists()
        ? std::uint64_t(identity.device) ^ (std::uint64_t(identity.inode) * 0x9E3779B97F4A7C15ull)
        : ~mixedHash(folder.path());
    return PathSet::ofMixed(XXH3_64bits_withSeed(comparedName.data(), comparedName.size(), seed));
}
