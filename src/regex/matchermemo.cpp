// The matcher's memo of the states it has failed from (see matcher.h): recording and looking up a
// state at a memo point, and the scan of a repetition's counts, which skips known failures a word
// of positions or a page at a time.
#include "matcher.h"

#include <algorithm>
#include <bit>
#include <cstring>
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
    if (!m_scratch.viability.viable(node, m_pos) || beyondReach(node, m_pos)) {
        return true;
    }
    if (m_loopDepth == 0 && !m_compiled.hasBackRef) {
        uint64_t &word = m_scratch.visited[visitedBit(point, m_pos) / 64];
        const uint64_t mask = visitedMask(point, m_pos);
        const bool seen = (word & mask) != 0;
        word |= mask;
        return seen;
    }
    return isKeyedRevisit(point);
}

// isRevisit for a state of the state memo: fails it when a recorded failure covers it, else opens
// its frame, which records it when the walk takes the frame back.
bool Matcher::isKeyedRevisit(int point)
{
    if (!m_stateMemoReady) {
        m_scratch.stateMemo.reset(kMaxStateMemoSlots, kMaxKeyedStates);
        m_stateMemoReady = true;
    }
    // Once the memo is full, its states are no longer looked up either: the budget decides.
    if (m_scratch.stateMemo.full()) {
        return false;
    }
    const std::optional<uint64_t> key = stateKey(point, m_pos);
    const int stride = stateStride();
    int32_t *page = key ? m_scratch.stateMemo.add(*key, stride) : nullptr;
    if (page == nullptr) {
        return false; // past the memo's size the budget decides
    }
    const int32_t *entry = page + (m_pos & (kStateMemoPagePositions - 1)) * stride;
    if (covers(entry)) {
        markLoops(markedLoops(entry));
        return true;
    }
    pushFrame(entry);
    return false;
}

void Matcher::pushFrame(const int32_t *entry)
{
    const auto below = m_topFrame;
    push({Undo::Frame, 0, m_scratch.stateMemo.indexOf(entry), m_pos, below, 0, m_nextSerial});
    m_topFrame = static_cast<int32_t>(m_stack.size() - 1);
}

// A frame taken back: the walk has failed from its state, which is as it was when the frame was
// opened. Records the state's thresholds and hands the marks on.
void Matcher::recordFailure(const BacktrackEntry &frame)
{
    m_topFrame = frame.a;
    const auto marked = static_cast<uint32_t>(frame.b);
    int32_t *entry = m_scratch.stateMemo.entryAt(frame.node);
    entry[0] = 0;
    for (int depth = 1; depth <= m_loopDepth; ++depth) {
        const int32_t counter = m_loopCounters[static_cast<size_t>(depth)];
        const int32_t min = loopMin(depth);
        entry[depth - 1] = counter >= min && (marked & (1u << depth)) == 0 ? min : counter;
    }
    m_scratch.stateMemo.countState();
    markLoops(marked);
}

// Marks `loops` (bit n: the loop at depth n) in the innermost frame, for those loops that were
// already running when it was opened (a later entry into a loop begins its counter afresh).
void Matcher::markLoops(uint32_t loops)
{
    if (loops == 0 || m_topFrame < 0) {
        return;
    }
    BacktrackEntry &frame = m_stack[static_cast<size_t>(m_topFrame)];
    for (int depth = 1; depth <= m_loopDepth; ++depth) {
        if ((loops & (1u << depth)) != 0 && m_loopSerial[static_cast<size_t>(depth)] < frame.c) {
            frame.b |= static_cast<int32_t>(1u << depth);
        }
    }
}

// Whether the entry records a failure that holds with the current counters.
bool Matcher::covers(const int32_t *entry) const
{
    if (entry[0] == kNoRank) {
        return false;
    }
    for (int depth = 1; depth <= m_loopDepth; ++depth) {
        if (m_loopCounters[static_cast<size_t>(depth)] < entry[depth - 1]) {
            return false;
        }
    }
    return true;
}

// The loops whose counters a recorded failure depends on: those with a threshold above the minimum.
uint32_t Matcher::markedLoops(const int32_t *entry) const
{
    uint32_t loops = 0;
    for (int depth = 1; depth <= m_loopDepth; ++depth) {
        if (entry[depth - 1] > loopMin(depth)) {
            loops |= 1u << depth;
        }
    }
    return loops;
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
    const bool bounded = m_scratch.capacity.build(m_compiled, m_input, m_length);
    m_scratch.viability.build(m_compiled, m_input, m_length, kMaxMemoBits, bounded);
    m_scratch.visited.assign(static_cast<size_t>((bits + 63) / 64), 0);
    m_scratch.exitChecks.clear();
    if (m_compiled.emptyBackRef) {
        m_loopExits = collectLoopExits(m_compiled, m_scratch.loopExits, m_scratch.exitChecks);
    }
    if (m_compiled.hasBackRef) {
        collectPointFacts(m_compiled, m_scratch.memoIndex, m_memoPoints, m_scratch.exitChecks, m_scratch.pointFacts);
        m_textKeyedGroups = m_length <= kMaxTextKeyedSubject;
    }
    if (m_textKeyedGroups) {
        m_scratch.firstOccurrence.assign(static_cast<size_t>(m_length + 1) * static_cast<size_t>(m_length + 1), -1);
    }
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

int32_t Matcher::loopMin(int depth) const
{
    return readInt32(m_program + m_loopNode[static_cast<size_t>(depth)] + kNodeHeader);
}

// Entries a position of a state memo page has at the current loop depth.
int Matcher::stateStride() const
{
    return std::max(m_loopDepth, 1);
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

// The key of the page of a state that the bitmap cannot hold (see matcher.h), in mixed radix: the
// point, the loop depth, the block of positions, each counter below its loop's minimum (one digit
// for all at or above it), the groups that back-references read and, where passes may be empty,
// the loops whose pass began at the position. None when the key does not fit 64 bits.
std::optional<uint64_t> Matcher::stateKey(int point, int position)
{
    const auto length = static_cast<uint64_t>(m_length);
    uint64_t key = 0;
    uint64_t scale = 1;
    appendDigit(key, scale, point, static_cast<uint64_t>(m_memoPoints));
    appendDigit(key, scale, m_loopDepth, kLoopCounterCount + 1);
    appendDigit(key, scale, position >> kStateMemoPageBits, (length >> kStateMemoPageBits) + 1);
    for (int depth = 1; depth <= m_loopDepth; ++depth) {
        const int32_t counter = m_loopCounters[static_cast<size_t>(depth)];
        const int64_t digit = counter >= loopMin(depth) ? int64_t {m_length} + 2 : counter;
        if (!appendDigit(key, scale, digit, length + 3)) {
            return std::nullopt;
        }
    }
    if (!appendGroups(key, scale, point, position)) {
        return std::nullopt;
    }
    if (m_compiled.emptyBackRef) {
        const int loops = m_loopDepth + m_loopExits;
        if (loops >= 63
            || !appendDigit(key, scale, static_cast<int64_t>(emptyPasses(point, position)), uint64_t {1} << loops)) {
            return std::nullopt;
        }
    }
    if (key == std::numeric_limits<uint64_t>::max()) {
        return std::nullopt; // StateMemo cannot hold it
    }
    return key;
}

// Appends the groups that back-references read to a state's key (see matcher.h).
bool Matcher::appendGroups(uint64_t &key, uint64_t &scale, int point, int position)
{
    const auto radix = static_cast<uint64_t>(m_length) + 2;
    for (size_t group = 1; group < kGroupCount; ++group) {
        if ((m_compiled.referencedGroups & (1u << group)) == 0) {
            continue;
        }
        const int start = m_captures.start[group];
        const int end = m_captures.end[group];
        const PointFacts &facts = m_scratch.pointFacts[static_cast<size_t>(point)];
        if (!m_textKeyedGroups || (facts.openGroups & (1u << group)) != 0) {
            if (!appendDigit(key, scale, int64_t {start} + 1, radix)
                || !appendDigit(key, scale, int64_t {end} + 1, radix)) {
                return false;
            }
            continue;
        }
        const bool set = start >= 0 && end >= start;
        if (!appendDigit(key, scale, set ? firstOccurrence(start, end - start) + 1 : 0, radix)
            || !appendDigit(key, scale, set ? end - start : 0, radix)
            || (m_compiled.emptyBackRef && (facts.reopenedGroups & (1u << group)) != 0
                && !appendDigit(key, scale, end == position ? 1 : 0, 2))) {
            return false;
        }
    }
    return true;
}

// Where the `length` characters at `start` first occur in the subject (m_textKeyedGroups only).
int Matcher::firstOccurrence(int start, int length)
{
    if (length == 0) {
        return 0;
    }
    int16_t &known = m_scratch.firstOccurrence[static_cast<size_t>(start) * static_cast<size_t>(m_length + 1)
        + static_cast<size_t>(length)];
    if (known < 0) {
        int first = 0;
        while (std::memcmp(m_input + first, m_input + start, static_cast<size_t>(length)) != 0) {
            ++first;
        }
        known = static_cast<int16_t>(first);
    }
    return known;
}

// Bit n - 1 for each loop at depth n whose pass (not its entry) began at `position`, and bit depth
// + k for each '*' or '+' loop k whose exit Branch's latest choice point was left there and whose
// check a walk from `point` may reach (those at the position are the last on the stack: positions
// only grow along the walk).
uint64_t Matcher::emptyPasses(int point, int position) const
{
    const uint64_t checked = m_scratch.pointFacts[static_cast<size_t>(point)].exitChecks;
    uint64_t passes = 0;
    for (int depth = 1; depth <= m_loopDepth; ++depth) {
        const auto slot = static_cast<size_t>(depth);
        if (m_loopCounters[slot] > 0 && m_passStart[slot] == position) {
            passes |= uint64_t {1} << (depth - 1);
        }
    }
    for (auto entry = m_stack.rbegin(); entry != m_stack.rend(); ++entry) {
        switch (entry->kind) {
        case Undo::Branch:
        case Undo::RepeatGreedy:
        case Undo::RepeatLazy:
        case Undo::LeaveLoop:
        case Undo::PassLoop:
        case Undo::Frame:
            if (entry->pos < position) {
                return passes;
            }
            if (entry->kind == Undo::Branch) {
                const int32_t exit = m_scratch.loopExits[static_cast<size_t>(entry->node)];
                if (exit >= 0 && exit < 64 && ((checked >> exit) & 1) != 0) {
                    passes |= uint64_t {1} << (m_loopDepth + exit);
                }
            }
            break;
        default:
            break; // undo records hold no position
        }
    }
    return passes;
}

// How many counts in a row, from `count` towards `last` (direction 1 or -1; `count` is not past
// `last`), have a continuation that is sure to fail: its first literal character is not there, the
// viability map rules it out, or the walk has failed from that state before. Only reads the memo,
// so that the state is recorded when the walk gets there.
int Matcher::deadCounts(int next, int start, int count, int last, int direction, int width, uint8_t lookahead)
{
    const int total = (last - count) * direction + 1;
    int dead = 0;
    while (dead < total) {
        ++m_steps;
        const int position = start + (count + dead * direction) * width;
        if ((lookahead != 0 && m_input[position] != lookahead) || ruledOut(next, position)
            || beyondReach(next, position)) {
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
    if ((direction != 1 && direction != -1) || m_compiled.emptyBackRef) {
        limit = 1; // where passes may be empty, the key depends on the position itself
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

// failedRun from the state memo: the entries of one page, which hold every position of a block
// with the loops and groups as they are. The loops the failures depend on are marked.
int Matcher::keyedFailedRun(int point, int position, int direction, int limit)
{
    if (!m_stateMemoReady || m_scratch.stateMemo.full()) {
        return 0;
    }
    const std::optional<uint64_t> key = stateKey(point, position);
    const int32_t *page = key ? m_scratch.stateMemo.find(*key) : nullptr;
    if (page == nullptr) {
        return 0;
    }
    const int stride = stateStride();
    const int entry = position & (kStateMemoPagePositions - 1);
    const int inPage = direction > 0 ? kStateMemoPagePositions - entry : entry + 1;
    const int stretch = std::min({limit, inPage, direction > 0 ? m_length - position + 1 : position + 1});
    uint32_t loops = 0;
    int run = 0;
    while (run < stretch) {
        const int32_t *failed = page + (entry + run * direction) * stride;
        if (!covers(failed)) {
            break;
        }
        loops |= markedLoops(failed);
        ++run;
    }
    markLoops(loops);
    return run;
}

} // namespace regex
