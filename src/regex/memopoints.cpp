// The memo points of a program (see matcher.h): the nodes where a walk can arrive again at the same
// position by another way, so that the matcher remembers having failed from there.
#include "matcher.h"

#include <vector>

namespace regex {

namespace {

constexpr uint8_t kVisited = 1;
constexpr uint8_t kMemoPoint = 2;

} // namespace

// Marks the first Branch of every chain of alternatives (where a choice is made, and where a loop
// over a group comes back), the node after every repetition of a single character (entered once per
// count), and every Loop node. Walks the nodes reachable from the start without recursion.
int collectMemoPoints(const Program &compiled, std::vector<int32_t> &index)
{
    const uint8_t *program = compiled.bytes.data();
    const auto size = static_cast<int>(compiled.bytes.size());
    std::vector<uint8_t> marks(static_cast<size_t>(size), 0);
    std::vector<int> pending {1};
    while (!pending.empty()) {
        const int node = pending.back();
        pending.pop_back();
        if (node < 0 || node >= size || (marks[static_cast<size_t>(node)] & kVisited) != 0) {
            continue;
        }
        marks[static_cast<size_t>(node)] |= kVisited;
        const int next = nextNode(program, node);
        pending.push_back(next);
        switch (opAt(program, node)) {
        case Op::Branch:
            if (next >= 0 && opAt(program, next) == Op::Branch) {
                marks[static_cast<size_t>(node)] |= kMemoPoint;
            }
            pending.push_back(node + kNodeHeader);
            break;
        case Op::Star:
        case Op::Plus:
        case Op::Braces:
        case Op::StarLazy:
        case Op::PlusLazy:
        case Op::BracesLazy:
            if (next >= 0) {
                marks[static_cast<size_t>(next)] |= kMemoPoint;
            }
            break;
        case Op::Loop:
        case Op::LoopLazy:
            marks[static_cast<size_t>(node)] |= kMemoPoint;
            pending.push_back(node + readInt32(program + node + kNodeHeader + 8));
            break;
        default:
            break;
        }
    }
    index.assign(static_cast<size_t>(size), -1);
    int points = 0;
    for (int node = 0; node < size; ++node) {
        if ((marks[static_cast<size_t>(node)] & kMemoPoint) != 0) {
            index[static_cast<size_t>(node)] = points++;
        }
    }
    return points;
}

} // namespace regex
