#include "apply/PathKey.h"

#include "apply/PathSet.h"
#include "disk/Folder.h"

#include <bit>

std::uint64_t pathKey(const Folder& folder, std::uint64_t comparedNameHash)
{
    // Distinct inodes of one device give distinct seeds (the multiplier is
    // odd); seeds that met anyway would only make a pass more careful. The
    // seed is turned so that the two bits a PathSet keeps for its marks
    // are not the only ones two seeds differ in.
    const FileIdentity identity = folder.identity();
    const std::uint64_t seed = folder.exists()
        ? std::uint64_t(identity.device) ^ (std::uint64_t(identity.inode) * 0x9E3779B97F4A7C15ull)
        : ~mixedHash(folder.path());
    return PathSet::ofMixed(comparedNameHash ^ std::rotl(seed, 2));
}
