// NameIndex: finds records by the hash value of their name in an open-addressing table of 8-byte slots, so a file's
// names cost a few bytes each and a lookup costs one probe sequence whatever the file's size.
#pragma once

#include <QtGlobal>

#include <vector>

class NameIndex
{
public:
    static constexpr quint32 kNone = 0xFFFFFFFFu;

    // Room for `count` names without growing.
    void reserve(qsizetype count);
    // Adds a record under a hash value. Records with the same name may be added more than once, but each costs every
    // later lookup of that name a comparison: index the first of a name only.
    void insert(size_t hash, quint32 record);

    // The lowest record under `hash` for which matches(record) holds (the first in the file, as records are
    // numbered in file order and the program's additions come after), or kNone. Different names may share a hash
    // value; `matches` compares the name itself.
    template<typename Matches> quint32 find(size_t hash, Matches matches) const
    {
        if (m_slots.empty()) {
            return kNone;
        }
        const quint32 key = shortHash(hash);
        quint32 found = kNone;
        for (size_t at = key & m_mask; m_slots[at].record != kNone; at = (at + 1) & m_mask) {
            const Slot &slot = m_slots[at];
            if (slot.hash == key && slot.record < found && matches(slot.record)) {
                found = slot.record;
            }
        }
        return found;
    }

private:
    // The slot's position comes from the hash value's 32 bits, and the same bits pass over most other names
    // without comparing them.
    struct Slot
    {
        quint32 hash = 0;
        quint32 record = kNone;
    };

    static quint32 shortHash(size_t hash) { return quint32(quint64(hash) >> 32) ^ quint32(hash); }
    void place(Slot slot);
    void rebuild(size_t slotCount);

    std::vector<Slot> m_slots;
    size_t m_mask = 0;
    qsizetype m_count = 0;
};
