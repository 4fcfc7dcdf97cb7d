// A set of 64-bit keys in one fixed block (open addressing), for the matcher's states inside counted
// loops: no allocation per key, and a full set says so instead of growing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace regex {

class StateSet
{
public:
    // Empties the set and gives it room for `capacity` keys (a power of two).
    void reset(size_t capacity)
    {
        m_slots.assign(capacity * 2, 0);
        m_capacity = capacity;
        m_size = 0;
    }

    bool full() const { return m_size >= m_capacity; }

    bool contains(uint64_t key) const { return m_capacity > 0 && m_slots[find(key)] == key + 1; }

    // Adds the key; false when it was there already. The caller checks full() first.
    bool insert(uint64_t key)
    {
        const size_t slot = find(key);
        if (m_slots[slot] == key + 1) {
            return false;
        }
        m_slots[slot] = key + 1;
        ++m_size;
        return true;
    }

private:
    // The key's slot, or the empty one where it would go. Slots hold key + 1, 0 is empty; keys are
    // below 2^64 - 1 (loopStateKey never makes the largest one). At most half the slots are used.
    size_t find(uint64_t key) const
    {
        const size_t mask = m_slots.size() - 1;
        size_t slot = static_cast<size_t>((key * 0x9E3779B97F4A7C15u) >> 20) & mask;
        while (m_slots[slot] != 0 && m_slots[slot] != key + 1) {
            slot = (slot + 1) & mask;
        }
        return slot;
    }

    std::vector<uint64_t> m_slots;
    size_t m_capacity = 0;
    size_t m_size = 0;
};

} // namespace regex
