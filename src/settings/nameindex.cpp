// NameIndex: linear probing at a load of at most three quarters.
#include "settings/nameindex.h"

namespace {

constexpr size_t kMinSlots = 16;

// The smallest power of two that holds `count` names at a load of at most three quarters.
size_t slotsFor(qsizetype count)
{
    size_t slots = kMinSlots;
    while (slots * 3 < size_t(count) * 4) {
        slots *= 2;
    }
    return slots;
}

} // namespace

void NameIndex::reserve(qsizetype count)
{
    if (slotsFor(count) > m_slots.size()) {
        rebuild(slotsFor(count));
    }
}

void NameIndex::insert(size_t hash, quint32 record)
{
    if (m_slots.empty() || (m_count + 1) * 4 > qsizetype(m_slots.size()) * 3) {
        rebuild(slotsFor(m_count + 1 > m_count * 2 ? m_count + 1 : m_count * 2));
    }
    place({shortHash(hash), record});
    ++m_count;
}

void NameIndex::place(Slot slot)
{
    size_t at = slot.hash & m_mask;
    while (m_slots[at].record != kNone) {
        at = (at + 1) & m_mask;
    }
    m_slots[at] = slot;
}

void NameIndex::rebuild(size_t slotCount)
{
    std::vector<Slot> old = std::exchange(m_slots, std::vector<Slot>(slotCount));
    m_mask = slotCount - 1;
    for (const Slot &slot : old) {
        if (slot.record != kNone) {
            place(slot);
        }
    }
}
