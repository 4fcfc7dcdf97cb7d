// The matcher's memo of states inside counted loops (see statememo.h).
#include "statememo.h"

#include <utility>

namespace regex {

namespace {

constexpr size_t kInitialSlots = 64;

} // namespace

void StateMemo::reset(size_t maxPages, size_t maxStates)
{
    m_keys.assign(kInitialSlots, 0);
    m_pageOf.assign(kInitialSlots, 0);
    m_pages.clear();
    m_pages.reserve(maxPages * kStateMemoPagePositions);
    m_pageCount = 0;
    m_maxPages = maxPages;
    m_states = 0;
    m_maxStates = maxStates;
    m_lastPage = -1;
}

int32_t *StateMemo::find(uint64_t key)
{
    if (m_lastPage >= 0 && m_lastKey == key) {
        return m_pages.data() + static_cast<size_t>(m_lastPage) * kStateMemoPagePositions;
    }
    if (m_keys.empty()) {
        return nullptr;
    }
    const size_t slot = slotOf(key);
    if (m_keys[slot] != key + 1) {
        return nullptr;
    }
    m_lastKey = key;
    m_lastPage = m_pageOf[slot];
    return m_pages.data() + static_cast<size_t>(m_lastPage) * kStateMemoPagePositions;
}

int32_t *StateMemo::add(uint64_t key)
{
    if (int32_t *page = find(key)) {
        return page;
    }
    if (m_pageCount >= m_maxPages || m_keys.empty()) {
        return nullptr;
    }
    if ((m_pageCount + 1) * 2 > m_keys.size()) {
        grow();
    }
    const size_t slot = slotOf(key);
    m_keys[slot] = key + 1;
    m_pageOf[slot] = static_cast<uint32_t>(m_pageCount);
    m_pages.resize(m_pages.size() + kStateMemoPagePositions, kNoRank);
    m_lastKey = key;
    m_lastPage = static_cast<int64_t>(m_pageCount);
    ++m_pageCount;
    return m_pages.data() + static_cast<size_t>(m_lastPage) * kStateMemoPagePositions;
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
    std::vector<uint32_t> pageOf = std::move(m_pageOf);
    m_keys.assign(keys.size() * 2, 0);
    m_pageOf.assign(keys.size() * 2, 0);
    for (size_t old = 0; old < keys.size(); ++old) {
        if (keys[old] != 0) {
            const size_t slot = slotOf(keys[old] - 1);
            m_keys[slot] = keys[old];
            m_pageOf[slot] = pageOf[old];
        }
    }
}

} // namespace regex
