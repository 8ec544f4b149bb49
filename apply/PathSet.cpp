#include "apply/PathSet.h"

#include "text/MixedHash.h"

#include <algorithm>

namespace {

// 0 marks an empty slot.
std::uint64_t hashOf(std::string_view path)
{
    const std::uint64_t h = mixedHash(path);
    return h == 0 ? 1 : h;
}

} // namespace

std::size_t PathSet::slotOf(std::uint64_t hash) const
{
    const std::size_t mask = m_slots.size() - 1;
    std::size_t index = hash & mask;
    while (m_slots[index] != 0 && m_slots[index] != hash)
        index = (index + 1) & mask;
    return index;
}

void PathSet::insert(std::string_view path)
{
    if ((m_count + 1) * 2 > m_slots.size()) {
        std::vector<std::uint64_t> old(std::max<std::size_t>(64, m_slots.size() * 2));
        old.swap(m_slots);
        for (const std::uint64_t hash : old) {
            if (hash != 0)
                m_slots[slotOf(hash)] = hash;
        }
    }
    const std::uint64_t hash = hashOf(path);
    std::uint64_t& slot = m_slots[slotOf(hash)];
    if (slot == 0) {
        slot = hash;
        ++m_count;
    }
}

bool PathSet::contains(std::string_view path) const
{
    return !m_slots.empty() && m_slots[slotOf(hashOf(path))] != 0;
}
