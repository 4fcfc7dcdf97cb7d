// The matcher's memo of the states its bitmap cannot hold (inside counted loops, or with groups that
// back-references read): pages of kStateMemoPagePositions positions, one page per key (memo point,
// counters, group spans, block of positions), found through an open-addressing table. A position
// has `stride` entries, the thresholds of a failed state (see matcher.h); kNoRank in the first says
// that the walk has not failed from there. No allocation per state; the table grows by doubling up
// to a cap and then says that it is full instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace regex {

constexpr int kStateMemoPageBits = 6;
constexpr int kStateMemoPagePositions = 1 << kStateMemoPageBits;
constexpr int32_t kNoRank = std::numeric_limits<int32_t>::max(); // an entry the walk has not failed from

class StateMemo
{
public:
    // Empties the memo for a run that may hold at most `maxSlots` entries and record `maxStates`
    // states; keeps the memory it has.
    void reset(size_t maxSlots, size_t maxStates);

    // Counts a state recorded in an entry of a page.
    void countState() { ++m_states; }
    // No further state can be recorded.
    bool full() const { return m_states >= m_maxStates || m_slots.size() >= m_maxSlots; }

    // The page of `key`, or nullptr when there is none. Valid until the next call of add().
    int32_t *find(uint64_t key);
    // The page of `key`, made (every entry kNoRank, `stride` entries a position) when there is none;
    // nullptr when the memo is full. A key names pages of one stride only.
    int32_t *add(uint64_t key, int stride);
    // The entries of a page by their index in the memo, which stays valid for the run.
    int32_t *entryAt(int32_t index) { return m_slots.data() + index; }
    int32_t indexOf(const int32_t *entry) const { return static_cast<int32_t>(entry - m_slots.data()); }

private:
    size_t slotOf(uint64_t key) const;
    void grow();

    // Table slots hold key + 1 (0 is empty) and the offset of its page beside it; keys are below
    // 2^64 - 1.
    std::vector<uint64_t> m_keys;
    std::vector<uint32_t> m_pageAt;
    std::vector<int32_t> m_slots; // the pages one after the other
    size_t m_pageCount = 0;
    size_t m_maxSlots = 0;
    size_t m_states = 0;
    size_t m_maxStates = 0;
    // The last page found, as runs look up one page many times in a row (a repetition's counts).
    uint64_t m_lastKey = 0;
    int64_t m_lastPage = -1;
};

} // namespace regex
