// The matcher's bound on the characters a state can still take (see matcher.h and capacity.h).
#include "matcher.h"

namespace regex {

// Whether the walk from `node` at `position`, with the counters of the active loops as they are, can
// take fewer characters than any match from there needs (the viability map's least end): then the
// state fails whatever its choices. From `node` the walk ends the current pass of the innermost loop,
// makes at most the passes its maximum leaves (the counter counts the current pass), goes on to the
// end of the pass of the loop around it, and so on out to End. Counted once with every node's
// characters, once with the rare nodes' characters left in the subject instead. Marks the loops
// whose counters the verdict depends on.
bool Matcher::beyondReach(int node, int position)
{
    if (m_memo != Memo::On) {
        return false;
    }
    const Capacity &capacity = m_scratch.capacity;
    const int64_t needed = int64_t {m_scratch.viability.leastEnd(node, position)} - position;
    for (const Counted counted : {Counted::All, Counted::Common}) {
        if (counted == Counted::Common && !capacity.hasRare()) {
            break;
        }
        const int64_t rare = counted == Counted::Common ? capacity.rareLeft(position) : 0;
        const int64_t most = mostTaken(counted, addWidths(rare, capacity.width(node, counted)), needed);
        if (most < needed) {
            markLoops(loopsBounding(counted, needed - 1 - most));
            return true;
        }
    }
    return false;
}

// `most` (what the walk takes to the end of the innermost pass) and what the active loops can still
// take after it, counted as `counted` says; stops adding once it reaches `needed`.
int64_t Matcher::mostTaken(Counted counted, int64_t most, int64_t needed) const
{
    const Capacity &capacity = m_scratch.capacity;
    for (int depth = m_loopDepth; depth >= 1 && most < needed; --depth) {
        const auto slot = static_cast<size_t>(depth);
        const int loop = m_loopNode[slot];
        const int32_t max = readInt32(m_program + loop + kNodeHeader + 4);
        const int64_t passes = multiplyWidth(int64_t {max} - m_loopCounters[slot], capacity.passWidth(loop, counted));
        most = addWidths(most, addWidths(passes, capacity.afterWidth(loop, counted)));
    }
    return most;
}

// The loops whose counters a failure by the bound, with `slack` characters to spare, depends on. A
// failure recorded without a loop's mark holds for every counter from the loop's minimum on; a
// counter at the minimum leaves the passes above it to the walk, which the slack must take.
uint32_t Matcher::loopsBounding(Counted counted, int64_t slack) const
{
    uint32_t loops = 0;
    for (int depth = m_loopDepth; depth >= 1; --depth) {
        const auto slot = static_cast<size_t>(depth);
        const int32_t above = m_loopCounters[slot] - loopMin(depth);
        const int64_t given = multiplyWidth(above, m_scratch.capacity.passWidth(m_loopNode[slot], counted));
        if (given <= slack) {
            slack -= given;
        } else {
            loops |= 1u << depth;
        }
    }
    return loops;
}

} // namespace regex
