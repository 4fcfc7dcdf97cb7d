// The matcher's memo of states inside counted loops (see statememo.h).
#include "statememo.h"

#include <utility>

namespace regex {

namespace {

constexpr size_t kInitialSlots = 64;

} // namespace

void StateMemo::reset(size_t maxSlots, size_t maxStates)
{
    m_keys.assign(kInitialSlots, 0);
    m_pageAt.assign(kInitialSlots, 0);
    m_slots.clear();
    m_slots.reserve(maxSlots);
    m_pageCount = 0;
    m_maxSlots = maxSlots;
    m_states = 0;
    m_maxStates = maxStates;
    m_lastPage = -1;
}

int32_t *StateMemo::find(uint64_t key)
{
    if (m_lastPage >= 0 && m_lastKey == key) {
        return m_slots.data() + m_lastPage;
    }
    if (m_keys.empty()) {
        return nullptr;
    }
    const size_t slot = slotOf(key);
    if (m_keys[slot] != key + 1) {
        return nullptr;
    }
    m_lastKey = key;
    m_lastPage = m_pageAt[slot];
    return m_slots.data() + m_lastPage;
}

int32_t *StateMemo::add(uint64_t key, int stride)
{
    if (int32_t *page = find(key)) {
        return page;
    }
    const auto pageSize = static_cast<size_t>(stride) * kStateMemoPagePositions;
    if (stride < 1 || m_slots.size() + pageSize > m_maxSlots || m_keys.empty()) {
        return nullptr;
    }
    if ((m_pageCount + 1) * 2 > m_keys.size()) {
        grow();
    }
    const size_t slot = slotOf(key);
    m_keys[slot] = key + 1;
    m_pageAt[slot] = static_cast<uint32_t>(m_slots.size());
    m_lastKey = key;
    m_lastPage = static_cast<int64_t>(m_slots.size());
    m_slots.resize(m_slots.size() + pageSize, kNoRank);
    ++m_pageCount;
    return m_slots.data() + m_lastPage;
}

// The key's slot, or the empty one where it would go. At most half the slots are used.
size_t StateMemo::slotOf(uint64_t key) const
{
    const size_t mask = m_keys.size() - 1;
    size_t slot = static_cast<size_t>((key * 0x9E3779B97F4A7C15u) >> 20) & mask;
    while (m_keys[slot] != 0 && m_keys[slot] != key + 1) {
        slot = (slot + 1) & mask;
    }
    return slot;
}

void StateMemo::grow()
{
    std::vector<uint64_t> keys = std::move(m_keys);
    std::vector<uint32_t> pageAt = std::move(m_pageAt);
    m_keys.assign(keys.size() * 2, 0);
    m_pageAt.assign(keys.size() * 2, 0);
    for (size_t old = 0; old < keys.size(); ++old) {
        if (keys[old] != 0) {
            const size_t slot = slotOf(keys[old] - 1);
            m_keys[slot] = keys[old];
            m_pageAt[slot] = pageAt[old];
        }
    }
}

} // namespace regex
