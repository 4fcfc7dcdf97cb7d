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

bool isRepeat(Op op)
{
    return op == Op::Star || op == Op::Plus || op == Op::Braces || op == Op::StarLazy || op == Op::PlusLazy
        || op == Op::BracesLazy;
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

// The exit Branch of a greedy '*' or '+' loop over a group: for '*', Branch[body -> Back] followed
// by the exit Branch; for '+', the Branch[Back] after the body, followed by the exit Branch.
int collectLoopExits(const Program &compiled, std::vector<int32_t> &index)
{
    const uint8_t *program = compiled.bytes.data();
    const auto size = static_cast<int>(compiled.bytes.size());
    index.assign(static_cast<size_t>(size), -1);
    int exits = 0;
    const auto addExitAfter = [&](int branch) {
        const bool isBranch = nodeFits(program, size, branch) && opAt(program, branch) == Op::Branch;
        const int exit = isBranch ? nextNode(program, branch) : -1;
        if (nodeFits(program, size, exit) && opAt(program, exit) == Op::Branch
            && index[static_cast<size_t>(exit)] < 0) {
            index[static_cast<size_t>(exit)] = exits++;
        }
    };
    forEachReachableNode(compiled, [&](int node) {
        if (opAt(program, node) == Op::Back) {
            addExitAfter(nextNode(program, node));
        } else if (opAt(program, node) == Op::Branch && opAt(program, node + kNodeHeader) == Op::Back) {
            addExitAfter(node);
        }
    });
    return exits;
}

// Per memo point, the groups a back-reference reads whose start a walk from there may still take
// to its Close node, or read before it: the Close is reachable without passing the group's Open.
void collectOpenGroups(
    const Program &compiled, const std::vector<int32_t> &memoIndex, int points, std::vector<uint16_t> &openGroups)
{
    const uint8_t *program = compiled.bytes.data();
    const size_t size = compiled.bytes.size();
    std::vector<std::pair<int32_t, int32_t>> edges; // to, from
    forEachReachableNode(compiled, [&](int node) {
        forEachWay(program, static_cast<int>(size), node, [&](int to) { edges.emplace_back(to, node); });
    });
    std::sort(edges.begin(), edges.end());
    openGroups.assign(static_cast<size_t>(points), 0);
    std::vector<uint8_t> reaches(size);
    for (int group = 1; group < kGroupCount; ++group) {
        if ((compiled.referencedGroups & (1u << group)) == 0) {
            continue;
        }
        const auto open = static_cast<Op>(kOpenFirst + group - 1);
        const auto close = static_cast<Op>(kCloseFirst + group - 1);
        std::fill(reaches.begin(), reaches.end(), 0);
        std::vector<int32_t> pending;
        for (const auto &[to, from] : edges) {
            if (opAt(program, to) == close && reaches[static_cast<size_t>(to)] == 0) {
                reaches[static_cast<size_t>(to)] = 1;
                pending.push_back(to);
            }
        }
        while (!pending.empty()) {
            const int32_t to = pending.back();
            pending.pop_back();
            auto edge = std::lower_bound(edges.begin(), edges.end(), std::pair<int32_t, int32_t> {to, 0});
            for (; edge != edges.end() && edge->first == to; ++edge) {
                const int32_t from = edge->second;
                if (reaches[static_cast<size_t>(from)] == 0 && opAt(program, from) != open) {
                    reaches[static_cast<size_t>(from)] = 1;
                    pending.push_back(from);
                }
            }
        }
        for (size_t node = 0; node < size; ++node) {
            if (reaches[node] != 0 && memoIndex[node] >= 0) {
                openGroups[static_cast<size_t>(memoIndex[node])] |= static_cast<uint16_t>(1u << group);
            }
        }
    }
}

} // namespace regex
