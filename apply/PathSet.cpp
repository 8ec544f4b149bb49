#include "apply/PathSet.h"

#include "text/MixedHash.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <sys/mman.h>
#include <utility>

namespace {

// A table of a million paths is looked up at random three times a rename:
// in pages of 4 KB nearly every look would miss the TLB as well as the
// cache. In huge pages, where the system gives them on request, it does not.
std::uint64_t* zeroedSlots(std::size_t count)
{
    constexpr std::size_t kHugePage = std::size_t(2) << 20;
    const std::size_t bytes = count * sizeof(std::uint64_t);
    if (bytes < kHugePage)
        return static_cast<std::uint64_t*>(std::calloc(count, sizeof(std::uint64_t)));
    void* made = nullptr;
    if (::posix_memalign(&made, kHugePage, bytes) != 0)
        return nullptr;
    ::madvise(made, bytes, MADV_HUGEPAGE);
    std::memset(made, 0, bytes);
    return static_cast<std::uint64_t*>(made);
}

} // namespace

std::uint64_t PathSet::hashOf(std::string_view path) noexcept
{
    return ofMixed(mixedHash(path));
}

// The slot that holds the hash, or the empty one where it would go. The
// table's index comes from the high bits, which the marks leave alone.
std::size_t PathSet::slotOf(std::uint64_t hash) const
{
    const std::size_t mask = m_size - 1;
    std::size_t index = (hash >> 2) & mask;
    while (m_slots[index] != 0 && (m_slots[index] & ~kMarkBits) != hash)
        index = (index + 1) & mask;
    return index;
}

std::uint8_t PathSet::marks(std::uint64_t hash) const
{
    return m_size == 0 ? 0 : std::uint8_t(m_slots[slotOf(hash)] & kMarkBits);
}

void PathSet::grow(std::size_t slots)
{
    auto* made = zeroedSlots(slots);
    if (!made)
        throw std::bad_alloc();
    std::unique_ptr<std::uint64_t[], Free> old(made);
    old.swap(m_slots);
    const std::size_t oldSize = std::exchange(m_size, slots);
    for (std::size_t i = 0; i < oldSize; ++i) {
        if (old[i] != 0)
            m_slots[slotOf(old[i] & ~kMarkBits)] = old[i];
    }
}

void PathSet::reserve(std::size_t count)
{
    std::size_t slots = 64;
    while (slots < count * 2)
        slots *= 2;
    if (slots > m_size)
        grow(slots);
}

void PathSet::mark(std::uint64_t hash, Mark mark)
{
    if ((m_count + 1) * 2 > m_size)
        grow(std::max<std::size_t>(64, m_size * 2));
    std::uint64_t& slot = m_slots[slotOf(hash)];
    if (slot == 0) {
        slot = hash;
        ++m_count;
    }
    slot |= mark;
}
