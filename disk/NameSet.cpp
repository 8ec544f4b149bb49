#include "disk/NameSet.h"

#include "text/MixedHash.h"

#include <algorithm>
#include <cstring>

namespace {

std::uint8_t tagOf(std::uint64_t hash)
{
    return std::uint8_t(hash >> 56) & ~std::uint8_t(3);
}

} // namespace

void NameSet::reserve(std::size_t count, std::size_t bytes)
{
    if (bytes > m_bytes.capacity())
        m_bytes.reserve(bytes);
    std::size_t slots = 16;
    while (slots < count * 2)
        slots *= 2;
    if (slots <= m_slots.size())
        return;
    std::vector<Slot> old(slots);
    old.swap(m_slots);
    const std::size_t mask = m_slots.size() - 1;
    for (const Slot& slot : old) {
        if ((slot.mark & kStateBits) == Empty)
            continue;
        // No two names here are alike: each takes the first free slot from its own.
        std::size_t index = mixedHash(nameAt(slot)) & mask;
        while ((m_slots[index].mark & kStateBits) != Empty)
            index = (index + 1) & mask;
        m_slots[index] = slot;
    }
}

// The slot that holds the name, or the empty one where it would go.
std::size_t NameSet::slotOf(std::string_view name, std::uint64_t hash) const
{
    const std::size_t mask = m_slots.size() - 1;
    const std::uint8_t tag = tagOf(hash);
    for (std::size_t index = hash & mask;; index = (index + 1) & mask) {
        const Slot& slot = m_slots[index];
        if ((slot.mark & kStateBits) == Empty
            || ((slot.mark & ~kStateBits) == tag && slot.length == name.size() && nameAt(slot) == name))
            return index;
    }
}

bool NameSet::insert(std::string_view name, std::uint8_t value, std::uint64_t payload)
{
    if ((m_count + 1) * 2 > m_slots.size())
        reserve(std::max<std::size_t>(16, m_count * 2));
    const std::uint64_t hash = mixedHash(name);
    Slot& slot = m_slots[slotOf(name, hash)];
    if ((slot.mark & kStateBits) == Held)
        return false;
    if ((slot.mark & kStateBits) == Erased) {
        slot.mark = tagOf(hash) | Held;
        slot.value = value;
        if (m_payloadBytes)
            std::memcpy(m_bytes.data() + slot.offset + slot.length, &payload, sizeof payload);
        return true;
    }
    slot = {std::uint32_t(m_bytes.size()), std::uint16_t(name.size()), value, std::uint8_t(tagOf(hash) | Held)};
    m_bytes.append(name);
    if (m_payloadBytes)
        m_bytes.append(reinterpret_cast<const char*>(&payload), sizeof payload);
    ++m_count;
    return true;
}

std::size_t NameSet::find(std::string_view name) const
{
    return find(name, mixedHash(name));
}

std::size_t NameSet::find(std::string_view name, std::uint64_t hash) const
{
    if (m_slots.empty())
        return npos;
    const std::size_t index = slotOf(name, hash);
    return (m_slots[index].mark & kStateBits) == Held ? index : npos;
}

void NameSet::erase(std::string_view name)
{
    if (const std::size_t index = find(name); index != npos)
        m_slots[index].mark = (m_slots[index].mark & ~kStateBits) | Erased;
}

std::uint64_t NameSet::payload(std::size_t slot) const
{
    std::uint64_t payload = 0;
    if (m_payloadBytes)
        std::memcpy(&payload, m_bytes.data() + m_slots[slot].offset + m_slots[slot].length, sizeof payload);
    return payload;
}
