#include "disk/NameSet.h"

#include "text/MixedHash.h"

void NameSet::reserve(std::size_t count)
{
    std::size_t slots = 16;
    while (slots < count * 2)
        slots *= 2;
    if (slots <= m_slots.size())
        return;
    std::vector<Slot> old(slots);
    old.swap(m_slots);
    for (const Slot& slot : old) {
        if (slot.state != Slot::Empty)
            m_slots[slotOf(std::string_view(m_bytes).substr(slot.offset, slot.length), slot.hash)] = slot;
    }
}

// The slot that holds the name, or the empty one where it would go.
std::size_t NameSet::slotOf(std::string_view name, std::uint64_t hash) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t index = hash & mask;; index = (index + 1) & mask) {
        const Slot& slot = m_slots[index];
        if (slot.state == Slot::Empty
            || (slot.hash == hash && slot.length == name.size()
                && std::string_view(m_bytes).substr(slot.offset, slot.length) == name))
            return index;
    }
}

bool NameSet::insert(std::string_view name, std::uint8_t value)
{
    if ((m_count + 1) * 2 > m_slots.size())
        reserve(std::max<std::size_t>(16, m_count * 2));
    const std::uint64_t hash = mixedHash(name);
    Slot& slot = m_slots[slotOf(name, hash)];
    if (slot.state == Slot::Held)
        return false;
    if (slot.state == Slot::Erased) {
        slot.state = Slot::Held;
        slot.value = value;
        return true;
    }
    slot = {hash, std::uint32_t(m_bytes.size()), std::uint16_t(name.size()), value, Slot::Held};
    m_bytes.append(name);
    ++m_count;
    return true;
}

std::size_t NameSet::find(std::string_view name) const
{
    if (m_slots.empty())
        return npos;
    const std::size_t index = slotOf(name, mixedHash(name));
    return m_slots[index].state == Slot::Held ? index : npos;
}

void NameSet::erase(std::string_view name)
{
    if (const std::size_t index = find(name); index != npos)
        m_slots[index].state = Slot::Erased;
}
