#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A set of names kept flat: the names side by side in one block of bytes,
// and an open table whose 8-byte slots hold each name's place, a byte of the
// caller's and a few bits of its hash, so that a lookup costs a hash, about
// one slot and a compare, and a thousand names of 15 bytes take 31 KB.
// Names are at most 65,535 bytes.
class NameSet {
public:
    static constexpr std::size_t npos = std::size_t(-1);

    // Room for `count` names of `bytes` bytes in all, without growing.
    void reserve(std::size_t count, std::size_t bytes = 0);
    bool empty() const noexcept { return m_count == 0; }
    // Every slot find() returns is below this.
    std::size_t slotCount() const noexcept { return m_slots.size(); }

    // Keeps 8 bytes of the caller's beside each name from now on (see
    // payload()); asked before the first insert.
    void keepPayloads() noexcept { m_payloadBytes = sizeof(std::uint64_t); }
    // Adds the name with `value` (and `payload`, where kept); false when it
    // was there already.
    bool insert(std::string_view name, std::uint8_t value = 0, std::uint64_t payload = 0);
    // Takes the name out; its slot stays its own, should it come back.
    void erase(std::string_view name);
    // The slot of the name, or npos; valid until the next insert.
    std::size_t find(std::string_view name) const;
    // The same where the caller has the name's mixedHash already.
    std::size_t find(std::string_view name, std::uint64_t hash) const;

    std::uint8_t& value(std::size_t slot) { return m_slots[slot].value; }
    std::uint8_t value(std::size_t slot) const { return m_slots[slot].value; }
    // What insert() kept beside the name; 0 where payloads are not kept.
    std::uint64_t payload(std::size_t slot) const;

private:
    struct Slot {
        std::uint32_t offset = 0;
        std::uint16_t length = 0;
        std::uint8_t value = 0;
        // The state in the low two bits, above them the hash's top six bits,
        // which turn away nearly every other name without reading its bytes.
        std::uint8_t mark = 0;
    };
    enum State : std::uint8_t { Empty, Held, Erased };
    static constexpr std::uint8_t kStateBits = 3;

    std::string_view nameAt(const Slot& slot) const
    {
        return std::string_view(m_bytes).substr(slot.offset, slot.length);
    }
    std::size_t slotOf(std::string_view name, std::uint64_t hash) const;

    std::string m_bytes;
    std::vector<Slot> m_slots;
    std::size_t m_count = 0;  // slots taken, held or erased
    std::uint8_t m_payloadBytes = 0;
};
