#include "apply/PathSet.h"

#include "text/MixedHash.h"

#include <algorithm>

std::uint64_t PathSet::hashOf(std::string_view path) noexcept
{
    const std::uint64_t h = mixedHash(path);
    return h == 0 ? 1 : h;
}

std::size_t PathSet::slotOf(std::uint64_t hash) const
{
    const std::size_t mask = m_slots.size() - 1;
    std::size_t index = hash & mask;
    while (m_slots[index].hash != 0 && m_slots[index].hash != hash)
        index = (index + 1) & mask;
    return index;
}

std::uint8_t PathSet::marks(std::uint64_t hash) const
{
    return m_slots.empty() ? 0 : m_slots[slotOf(hash)].marks;
}

void PathSet::mark(std::uint64_t hash, Mark mark)
{
    if ((m_count + 1) * 2 > m_slots.size()) {
        std::vector<Slot> old(std::max<std::size_t>(64, m_slots.size() * 2));
        old.swap(m_slots);
        for (const Slot& slot : old) {
            if (slot.hash != 0)
                m_slots[slotOf(slot.hash)] = slot;
        }
    }
    Slot& slot = m_slots[slotOf(hash)];
    if (slot.hash == 0) {
        slot.hash = hash;
        ++m_count;
    }
    slot.marks |= mark;
}
