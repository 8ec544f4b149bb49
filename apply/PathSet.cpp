#include "apply/PathSet.h"

#include "text/MixedHash.h"

#include <algorithm>

std::uint64_t PathSet::hashOf(std::string_view path) noexcept
{
    const std::uint64_t h = mixedHash(path) & ~kMarkBits;
    return h == 0 ? kMarkBits + 1 : h;
}

// The slot that holds the hash, or the empty one where it would go. The
// table's index comes from the high bits, which the marks leave alone.
std::size_t PathSet::slotOf(std::uint64_t hash) const
{
    const std::size_t mask = m_slots.size() - 1;
    std::size_t index = (hash >> 2) & mask;
    while (m_slots[index] != 0 && (m_slots[index] & ~kMarkBits) != hash)
        index = (index + 1) & mask;
    return index;
}

std::uint8_t PathSet::marks(std::uint64_t hash) const
{
    return m_slots.empty() ? 0 : std::uint8_t(m_slots[slotOf(hash)] & kMarkBits);
}

void PathSet::grow(std::size_t slots)
{
    std::vector<std::uint64_t> old(slots);
    old.swap(m_slots);
    for (const std::uint64_t slot : old) {
        if (slot != 0)
            m_slots[slotOf(slot & ~kMarkBits)] = slot;
    }
}

void PathSet::reserve(std::size_t count)
{
    std::size_t slots = 64;
    while (slots < count * 2)
        slots *= 2;
    if (slots > m_slots.size())
        grow(slots);
}

void PathSet::mark(std::uint64_t hash, Mark mark)
{
    if ((m_count + 1) * 2 > m_slots.size())
        grow(std::max<std::size_t>(64, m_slots.size() * 2));
    std::uint64_t& slot = m_slots[slotOf(hash)];
    if (slot == 0) {
        slot = hash;
        ++m_count;
    }
    slot |= mark;
}
