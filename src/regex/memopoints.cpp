// What the memo needs to know of a program's shape (see matcher.h): its memo points, the nodes where
// a walk can arrive again at the same position by another way, so that the matcher remembers having
// failed from there; the loops whose passes may be empty; the groups still open at each memo point.
#include "matcher.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace regex {

namespace {

// Whether the node at `node` lies within the program's `size` bytes with its header and the operand
// the walk of nodes reads: a Branch's first node header, a Loop's bounds and body offset.
bool nodeFits(const uint8_t *program, int size, int node)
{
    if (node < 1 || node > size - kNodeHeader) {
        return false;
    }
    const Op op = opAt(program, node);
    if (op == Op::Branch) {
        return node + 2 * kNodeHeader <= size;
    }
    return (op != Op::Loop && op != Op::LoopLazy) || node + kNodeHeader + kLoopOperand <= size;
}

// Calls `visit` with every node a way of `node` (which fits) leads to, as the matcher walks: the
// next node (of a Branch only the next Branch of its chain), a Branch's alternative, a Loop's body.
// Only nodes that fit are visited.
template<typename Visit> void forEachWay(const uint8_t *program, int size, int node, Visit visit)
{
    const int next = nextNode(program, node);
    const Op op = opAt(program, node);
    if (nodeFits(program, size, next) && (op != Op::Branch || opAt(program, next) == Op::Branch)) {
        visit(next);
    }
    int other = -1;
    if (op == Op::Branch) {
        other = node + kNodeHeader;
    } else if (op == Op::Loop || op == Op::LoopLazy) {
        other = node + readInt32(program + node + kNodeHeader + 8);
    }
    if (nodeFits(program, size, other)) {
        visit(other);
    }
}

// Calls `visit` once with every node reachable from the start that fits, without recursion.
template<typename Visit> void forEachReachableNode(const Program &compiled, Visit visit)
{
    const uint8_t *program = compiled.bytes.data();
    const auto size = static_cast<int>(compiled.bytes.size());
    std::vector<uint8_t> seen(static_cast<size_t>(size), 0);
    std::vector<int> pending;
    if (nodeFits(program, size, 1)) {
        pending.push_back(1);
    }
    while (!pending.empty()) {
        const int node = pending.back();
        pending.pop_back();
        if (seen[static_cast<size_t>(node)] != 0) {
            continue;
        }
        seen[static_cast<size_t>(node)] = 1;
        visit(node);
        forEachWay(program, size, node, [&](int to) { pending.push_back(to); });
    }
}

} // namespace

// Marks the first Branch of every chain of alternatives (where a choice is made, and where a loop
// over a group comes back), the node after every repetition of a single character (entered once per
// count), and every Loop node.
int collectMemoPoints(const Program &compiled, std::vector<int32_t> &index)
{
    const uint8_t *program = compiled.bytes.data();
    const auto size = static_cast<int>(compiled.bytes.size());
    std::vector<uint8_t> marks(static_cast<size_t>(size), 0);
    forEachReachableNode(compiled, [&](int node) {
        const Op op = opAt(program, node);
        const int next = nextNode(program, node);
        if (op == Op::Branch && next >= 0 && opAt(program, next) == Op::Branch) {
            marks[static_cast<size_t>(node)] = 1;
        } else if (isRepeat(op) && next >= 0 && next < size) {
            marks[static_cast<size_t>(next)] = 1;
        } else if (op == Op::Loop || op == Op::LoopLazy) {
            marks[static_cast<size_t>(node)] = 1;
        }
    });
    index.assign(static_cast<size_t>(size), -1);
    int points = 0;
    for (int node = 0; node < size; ++node) {
        if (marks[static_cast<size_t>(node)] != 0) {
            index[static_cast<size_t>(node)] = points++;
        }
    }
    return points;
}

// The exit Branch of a greedy '*' or '+' loop over a group, and the node that checks whether its
// last pass was empty: for '*', Branch[body -> Back] followed by the exit Branch, checked at the
// Back; for '+', the Branch[Back] after the body, followed by the exit Branch, checked there.
int collectLoopExits(const Program &compiled, std::vector<int32_t> &index, std::vector<int32_t> &checks)
{
    const uint8_t *program = compiled.bytes.data();
    const auto size = static_cast<int>(compiled.bytes.size());
    index.assign(static_cast<size_t>(size), -1);
    checks.clear();
    const auto addExitAfter = [&](int branch, int check) {
        const bool isBranch = nodeFits(program, size, branch) && opAt(program, branch) == Op::Branch;
        const int exit = isBranch ? nextNode(program, branch) : -1;
        if (nodeFits(program, size, exit) && opAt(program, exit) == Op::Branch
            && index[static_cast<size_t>(exit)] < 0) {
            index[static_cast<size_t>(exit)] = static_cast<int32_t>(checks.size());
            checks.push_back(check);
        }
    };
    forEachReachableNode(compiled, [&](int node) {
        if (opAt(program, node) == Op::Back) {
            addExitAfter(nextNode(program, node), node);
        } else if (opAt(program, node) == Op::Branch && opAt(program, node + kNodeHeader) == Op::Back) {
            addExitAfter(node, node);
        }
    });
    return static_cast<int>(checks.size());
}

namespace {

// The ways between the reachable nodes of a program, reversed, to find the nodes from which a walk
// can reach given nodes.
class ReverseWays
{
public:
    explicit ReverseWays(const Program &compiled)
        : m_reaches(compiled.bytes.size())
    {
        const uint8_t *program = compiled.bytes.data();
        const auto size = static_cast<int>(compiled.bytes.size());
        forEachReachableNode(compiled, [&](int node) {
            m_nodes.push_back(node);
            forEachWay(program, size, node, [&](int to) { m_edges.emplace_back(to, node); });
        });
        std::sort(m_edges.begin(), m_edges.end());
    }

    // Calls `found` with every node from which a walk reaches a node `isTarget` accepts (the targets
    // too) without passing a node `isStop` accepts.
    template<typename Target, typename Stop, typename Found> void reaching(Target isTarget, Stop isStop, Found found)
    {
        std::fill(m_reaches.begin(), m_reaches.end(), 0);
        std::vector<int32_t> pending;
        for (const int32_t node : m_nodes) {
            if (isTarget(node)) {
                m_reaches[static_cast<size_t>(node)] = 1;
                pending.push_back(node);
            }
        }
        while (!pending.empty()) {
            const int32_t to = pending.back();
            pending.pop_back();
            found(to);
            auto edge = std::lower_bound(m_edges.begin(), m_edges.end(), std::pair<int32_t, int32_t> {to, 0});
            for (; edge != m_edges.end() && edge->first == to; ++edge) {
                const int32_t from = edge->second;
                if (m_reaches[static_cast<size_t>(from)] == 0 && !isStop(from)) {
                    m_reaches[static_cast<size_t>(from)] = 1;
                    pending.push_back(from);
                }
            }
        }
    }

private:
    std::vector<int32_t> m_nodes;
    std::vector<std::pair<int32_t, int32_t>> m_edges; // to, from
    std::vector<uint8_t> m_reaches;
};

} // namespace

// Per memo point, for the groups back-references read: those whose Close node a walk from there may
// reach without passing their Open node (it would take or read the start it has), and those whose
// Open node it may reach; and the loop exits (collectLoopExits' `checks`, the first 64) whose check
// it may reach.
void collectPointFacts(const Program &compiled, const std::vector<int32_t> &memoIndex, int points,
    const std::vector<int32_t> &exitChecks, std::vector<PointFacts> &facts)
{
    const uint8_t *program = compiled.bytes.data();
    ReverseWays ways(compiled);
    facts.assign(static_cast<size_t>(points), PointFacts {});
    const auto factsAt = [&](int32_t node) -> PointFacts * {
        const int32_t point = memoIndex[static_cast<size_t>(node)];
        return point < 0 ? nullptr : &facts[static_cast<size_t>(point)];
    };
    for (int group = 1; group < kGroupCount; ++group) {
        if ((compiled.referencedGroups & (1u << group)) == 0) {
            continue;
        }
        const auto open = static_cast<Op>(kOpenFirst + group - 1);
        const auto close = static_cast<Op>(kCloseFirst + group - 1);
        const auto bit = static_cast<uint16_t>(1u << group);
        ways.reaching([&](int32_t node) { return opAt(program, node) == close; },
            [&](int32_t node) { return opAt(program, node) == open; },
            [&](int32_t node) {
                if (PointFacts *point = factsAt(node)) {
                    point->openGroups |= bit;
                }
            });
        ways.reaching([&](int32_t node) { return opAt(program, node) == open; }, [](int32_t) { return false; },
            [&](int32_t node) {
                if (PointFacts *point = factsAt(node)) {
                    point->reopenedGroups |= bit;
                }
            });
    }
    for (size_t exit = 0; exit < std::min<size_t>(exitChecks.size(), 64); ++exit) {
        ways.reaching([&](int32_t node) { return node == exitChecks[exit]; }, [](int32_t) { return false; },
            [&](int32_t node) {
                if (PointFacts *point = factsAt(node)) {
                    point->exitChecks |= uint64_t {1} << exit;
                }
            });
    }
}

} // namespace regex
