// The matcher's memo of the states its bitmap cannot hold (inside counted loops, or with groups that
// back-references read): pages of kStateMemoPagePositions entries, one page per key (memo point,
// counters, group spans, block of positions), found through an open-addressing table. An entry
// holds the least rank (see matcher.h) the walk has failed from there. No allocation per state;
// the table grows by doubling up to a cap and then says that it is full instead.
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
    // Empties the memo for a run that may hold at most `maxPages` pages and record `maxStates`
    // states; keeps the memory it has.
    void reset(size_t maxPages, size_t maxStates);

    // Counts a state recorded in an entry of a page.
    void countState() { ++m_states; }
    // No further state can be recorded.
    bool full() const { return m_states >= m_maxStates || m_pageCount >= m_maxPages; }

    // The page of `key`, or nullptr when there is none. Valid until the next call of add().
    int32_t *find(uint64_t key);
    // The page of `key`, made (every entry kNoRank) when there is none; nullptr when the memo is full.
    int32_t *add(uint64_t key);

private:
    size_t slotOf(uint64_t key) const;
    void grow();

    // Slots hold key + 1 (0 is empty) and the page number beside it; keys are below 2^64 - 1.
    std::vector<uint64_t> m_keys;
    std::vector<uint32_t> m_pageOf;
    std::vector<int32_t> m_pages; // page n at n * kStateMemoPagePositions
    size_t m_pageCount = 0;
    size_t m_maxPages = 0;
    size_t m_states = 0;
    size_t m_maxStates = 0;
    // The last page found, as runs look up one page many times in a row (a repetition's counts).
    uint64_t m_lastKey = 0;
    int64_t m_lastPage = -1;
};

} // namespace regex
