// The matcher's memo of the states it has failed from (see matcher.h): recording and looking up a
// state at a memo point, and the scan of a repetition's counts, which skips known failures a word
// of positions or a page at a time.
#include "matcher.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace regex {

// Whether the walk has been at this memo point in the same state before (see matcher.h); records
// the state when not.
bool Matcher::isRevisit(int node)
{
    if (m_memo != Memo::On && (m_memo == Memo::Off || !startMemo())) {
        return false;
    }
    const int point = m_memoIndex[node];
    if (point < 0) {
        return false;
    }
    if (m_loopDepth == 0 && !m_compiled.hasBackRef) {
        uint64_t &word = m_scratch.visited[visitedBit(point, m_pos) / 64];
        const uint64_t mask = visitedMask(point, m_pos);
        const bool seen = (word & mask) != 0;
        word |= mask;
        return seen;
    }
    if (!m_stateMemoReady) {
        m_scratch.stateMemo.reset(kMaxStateMemoPages, kMaxKeyedStates);
        m_stateMemoReady = true;
    }
    // Once the memo is full, its states are no longer looked up either: the budget decides.
    if (m_scratch.stateMemo.full()) {
        return false;
    }
    const std::optional<KeyedState> state = keyedState(point, m_pos);
    int32_t *page = state ? m_scratch.stateMemo.add(state->page) : nullptr;
    if (page == nullptr) {
        return false; // past the memo's size the budget decides
    }
    int32_t &leastFailed = page[m_pos & (kStateMemoPagePositions - 1)];
    if (leastFailed <= state->rank) {
        return true;
    }
    leastFailed = state->rank;
    m_scratch.stateMemo.countState();
    return false;
}

// Sets up the memo for the rest of the run; false (and off for good) when it would not fit.
bool Matcher::startMemo()
{
    m_memo = Memo::Off;
    m_memoFromStep = std::numeric_limits<int64_t>::max();
    m_memoPoints = collectMemoPoints(m_compiled, m_scratch.memoIndex);
    const int64_t bits = int64_t {m_memoPoints} * (int64_t {m_length} + 1);
    if (m_memoPoints == 0 || bits > kMaxMemoBits) {
        return false;
    }
    m_scratch.visited.assign(static_cast<size_t>((bits + 63) / 64), 0);
    m_memoIndex = m_scratch.memoIndex.data();
    m_memo = Memo::On;
    m_memoFromStep = 0;
    return true;
}

size_t Matcher::visitedBit(int point, int position) const
{
    return static_cast<size_t>(point) * static_cast<size_t>(m_length + 1) + static_cast<size_t>(position);
}

uint64_t Matcher::visitedMask(int point, int position) const
{
    return uint64_t {1} << (visitedBit(point, position) % 64);
}

// The counter of the loop active at `depth` as far as it can still matter at `position`: at or above
// the loop's minimum it is the minimum while the maximum is out of reach, since each further pass
// consumes a character, so at most (characters left + 1) passes can follow.
int64_t Matcher::reducedCounter(int depth, int position) const
{
    const auto slot = static_cast<size_t>(depth);
    const uint8_t *operand = m_program + m_loopNode[slot] + kNodeHeader;
    const int64_t min = readInt32(operand);
    const int64_t max = readInt32(operand + 4);
    const int64_t counter = m_loopCounters[slot];
    if (counter >= min && max - counter > int64_t {m_length} - position + 1) {
        return min;
    }
    return counter;
}

namespace {

// Appends `digit` of radix `radix` to a mixed-radix number; false when it does not fit 64 bits.
bool appendDigit(uint64_t &number, uint64_t &scale, int64_t digit, uint64_t radix)
{
    uint64_t term = 0;
    return digit >= 0 && static_cast<uint64_t>(digit) < radix
        && !__builtin_mul_overflow(static_cast<uint64_t>(digit), scale, &term)
        && !__builtin_add_overflow(number, term, &number) && !__builtin_mul_overflow(scale, radix, &scale);
}

} // namespace

// A state that the bitmap cannot hold (see matcher.h): the key of its page, in mixed radix the
// point, the block of positions, the outer loops' reduced counters, the innermost loop's class and
// the spans of the groups that back-references read; and the innermost loop's reduced counter as
// its rank (0 outside counted loops). None when the key does not fit 64 bits.
std::optional<Matcher::KeyedState> Matcher::keyedState(int point, int position) const
{
    const auto length = static_cast<uint64_t>(m_length);
    uint64_t key = 0;
    uint64_t scale = 1;
    appendDigit(key, scale, point, static_cast<uint64_t>(m_memoPoints));
    appendDigit(key, scale, position >> kStateMemoPageBits, (length >> kStateMemoPageBits) + 1);
    int64_t rank = 0;
    for (int depth = 1; depth <= m_loopDepth; ++depth) {
        int64_t counter = reducedCounter(depth, position);
        if (depth == m_loopDepth) {
            rank = counter;
            const uint8_t *operand = m_program + m_loopNode[static_cast<size_t>(depth)] + kNodeHeader;
            const int64_t min = readInt32(operand);
            // A body that may match the empty text (an optional group, at most one pass) can pass
            // without consuming: there every count is a class of its own.
            if (counter >= min && readInt32(operand + 4) > 1) {
                counter = min;
            }
        }
        if (!appendDigit(key, scale, counter, length + 3)) {
            return std::nullopt;
        }
    }
    for (size_t group = 1; group < kGroupCount; ++group) {
        if ((m_compiled.referencedGroups & (1u << group)) != 0
            && !(appendDigit(key, scale, int64_t {m_captures.start[group]} + 1, length + 2)
                && appendDigit(key, scale, int64_t {m_captures.end[group]} + 1, length + 2))) {
            return std::nullopt;
        }
    }
    if (key == std::numeric_limits<uint64_t>::max()) {
        return std::nullopt; // StateMemo cannot hold it
    }
    return KeyedState {key, static_cast<int32_t>(rank)};
}

// How many counts in a row, from `count` towards `last` (direction 1 or -1; `count` is not past
// `last`), have a continuation that is sure to fail: its first literal character is not there, or
// the walk has failed from that state before. Only reads the memo, so that the state is recorded
// when the walk gets there.
int Matcher::deadCounts(int next, int start, int count, int last, int direction, int width, uint8_t lookahead)
{
    const int total = (last - count) * direction + 1;
    int dead = 0;
    while (dead < total) {
        ++m_steps;
        const int position = start + (count + dead * direction) * width;
        if (lookahead != 0 && m_input[position] != lookahead) {
            ++dead;
            continue;
        }
        const int run = failedRun(next, position, direction * width, width == 1 ? total - dead : 1);
        if (run == 0) {
            break;
        }
        dead += run;
    }
    return dead;
}

// How many positions in a row, from `position` in steps of `direction` and at most `limit`, the
// walk has failed from at node `next` with the loops as they are; 0 when not from `position`. A run
// longer than one needs steps of one position.
int Matcher::failedRun(int next, int position, int direction, int limit)
{
    if (m_memo != Memo::On || next < 0 || m_memoIndex[next] < 0) {
        return 0;
    }
    const int point = m_memoIndex[next];
    if (direction != 1 && direction != -1) {
        limit = 1;
    }
    if (m_loopDepth == 0 && !m_compiled.hasBackRef) {
        return visitedRun(point, position, direction, limit);
    }
    return keyedFailedRun(point, position, direction, limit);
}

// failedRun from the bitmap, a word at a time.
int Matcher::visitedRun(int point, int position, int direction, int limit) const
{
    auto bit = static_cast<int64_t>(visitedBit(point, position));
    int run = 0;
    while (run < limit) {
        const uint64_t word = m_scratch.visited[static_cast<size_t>(bit / 64)];
        const int offset = static_cast<int>(bit % 64);
        if (direction > 0) {
            const uint64_t open = ~word >> offset;
            if (open != 0) {
                return std::min(limit, run + std::countr_zero(open));
            }
            run += 64 - offset;
            bit += 64 - offset;
        } else {
            const uint64_t open = ~word << (63 - offset);
            if (open != 0) {
                return std::min(limit, run + std::countl_zero(open));
            }
            run += offset + 1;
            bit -= offset + 1;
        }
    }
    return limit;
}

// failedRun from the state memo: the entries of one page. A counter's reduction changes at most
// once along the positions (where its maximum comes into reach), so when the state at both ends of
// the stretch is the same, it is the same at every position between.
int Matcher::keyedFailedRun(int point, int position, int direction, int limit)
{
    if (!m_stateMemoReady || m_scratch.stateMemo.full()) {
        return 0;
    }
    const std::optional<KeyedState> first = keyedState(point, position);
    const int32_t *page = first ? m_scratch.stateMemo.find(first->page) : nullptr;
    const int entry = position & (kStateMemoPagePositions - 1);
    if (page == nullptr || page[entry] > first->rank) {
        return 0;
    }
    const int inPage = direction > 0 ? kStateMemoPagePositions - entry : entry + 1;
    const int stretch = std::min({limit, inPage, direction > 0 ? m_length - position + 1 : position + 1});
    if (stretch <= 1) {
        return 1;
    }
    const std::optional<KeyedState> last = keyedState(point, position + (stretch - 1) * direction);
    if (!last || last->page != first->page || last->rank != first->rank) {
        return 1;
    }
    int run = 1;
    while (run < stretch && page[entry + run * direction] <= first->rank) {
        ++run;
    }
    return run;
}

} // namespace regex
