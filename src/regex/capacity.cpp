// The widths of a program's nodes (see capacity.h). A depth-first walk over the ways a node can go on,
// each width computed once every node after it is: a Loop node ends the walk of its body, and its
// LoopEntry counts the loop as a whole. A way back to a node still being computed (a loop over a
// group) finds that node's width still unbounded, which is what a loop without a count is.
#include "capacity.h"

#include <algorithm>

namespace regex {

namespace {

enum : uint8_t { kNotSeen, kOpen, kDone };

// The width of a node no way goes through on the subject, while the widths are computed.
constexpr int64_t kNoWay = -1;

// Longest subject whose rare nodes are sought: a scan of the subject per node (a title is at most 255
// bytes; on long texts the scans would cost more than the bound saves).
constexpr int kMaxRareSubject = 4096;

} // namespace

bool Capacity::build(const Program &program, const uint8_t *input, int length)
{
    m_present.reset();
    for (int i = 0; i < length; ++i) {
        m_present.set(input[i]);
    }
    m_program = program.bytes.data();
    m_size = static_cast<int>(program.bytes.size());
    m_input = input;
    m_length = length;
    m_rare.assign(program.bytes.size(), 0);
    m_rareLeft.assign(static_cast<size_t>(length) + 1, 0);
    m_hasRare = false;
    m_bounded = false;
    for (Widths &widths : m_widths) {
        widths.node.assign(program.bytes.size(), kUnboundedWidth);
        widths.pass.assign(program.bytes.size(), kUnboundedWidth);
        widths.after.assign(program.bytes.size(), kUnboundedWidth);
    }
    if (m_size < 1 + kNodeHeader) {
        return false;
    }
    computeWidths(Counted::All);
    if (m_hasRare) {
        for (int position = length - 1; position >= 0; --position) {
            m_rareLeft[static_cast<size_t>(position)] += m_rareLeft[static_cast<size_t>(position) + 1];
        }
        computeWidths(Counted::Common);
    } else {
        m_widths[1] = m_widths[0];
    }
    return m_bounded;
}

// The widths of every node reachable from the start, counting the characters `counted` says.
void Capacity::computeWidths(Counted counted)
{
    m_building = counted;
    m_state.assign(static_cast<size_t>(m_size), kNotSeen);
    std::vector<std::pair<int, int>> &walk = m_walk;
    walk.assign(1, {1, 0});
    m_state[1] = kOpen;
    std::vector<int64_t> &widths = building().node;
    while (!walk.empty()) {
        const int node = walk.back().first;
        int next[2];
        const int count = successors(node, next);
        if (walk.back().second < count) {
            const int successor = next[walk.back().second++];
            if (m_state[static_cast<size_t>(successor)] == kNotSeen) {
                m_state[static_cast<size_t>(successor)] = kOpen;
                walk.emplace_back(successor, 0);
            }
            continue;
        }
        widths[static_cast<size_t>(node)] = widthOf(node);
        m_state[static_cast<size_t>(node)] = kDone;
        walk.pop_back();
    }
    for (int64_t &width : widths) {
        width = std::max(width, int64_t {0}); // the viability map rules out what no way goes through
    }
}

// The Loop node a LoopEntry links to, with its whole operand within the program; -1 when there is none.
int Capacity::loopNodeOf(int loopEntry) const
{
    const int loop = nextNode(m_program, loopEntry);
    if (loop < 1 || loop + kNodeHeader + kLoopOperand > m_size) {
        return -1;
    }
    const Op op = opAt(m_program, loop);
    return op == Op::Loop || op == Op::LoopLazy ? loop : -1;
}

// The nodes `node` can go on with whose widths its own depends on, at most two, every one a node
// offset within the program. A Loop node and End go on with none.
int Capacity::successors(int node, int *out) const
{
    const auto valid = [this](int offset) { return offset >= 1 && offset <= m_size - kNodeHeader; };
    const Op op = opAt(m_program, node);
    const int next = nextNode(m_program, node);
    int count = 0;
    if (op == Op::End || op == Op::Loop || op == Op::LoopLazy) {
        return 0;
    }
    if (op == Op::LoopEntry) {
        const int loop = loopNodeOf(node);
        if (loop < 0) {
            return 0;
        }
        for (const int successor : {loop + readInt32(m_program + loop + kNodeHeader + 8), nextNode(m_program, loop)}) {
            if (valid(successor)) {
                out[count++] = successor;
            }
        }
        return count;
    }
    if (op == Op::Branch && valid(node + kNodeHeader)) {
        out[count++] = node + kNodeHeader;
        if (!valid(next) || opAt(m_program, next) != Op::Branch) {
            return count;
        }
    }
    if (valid(next)) {
        out[count++] = next;
    }
    return count;
}

// The width of `node` from those of its successors, kNoWay where no way goes through; one still
// being computed counts as unbounded.
int64_t Capacity::widthOf(int node)
{
    const Op op = opAt(m_program, node);
    const int next = nextNode(m_program, node);
    switch (op) {
    case Op::End:
    case Op::Loop:
    case Op::LoopLazy:
        return 0;
    case Op::LoopEntry:
        return loopWidth(node);
    case Op::Branch: {
        const bool chain = next >= 0 && next < m_size && opAt(m_program, next) == Op::Branch;
        return chain ? std::max(width(node + kNodeHeader, m_building), width(next, m_building))
                     : width(node + kNodeHeader, m_building);
    }
    default: {
        int64_t own = ownWidth(node);
        if (m_building == Counted::All) {
            noteRare(node);
        } else if (own >= 0 && m_rare[static_cast<size_t>(node)] != 0) {
            own = 0; // rareLeft counts its characters
        }
        return own < 0 || width(next, m_building) < 0 ? kNoWay : addWidths(own, width(next, m_building));
    }
    }
}

// The width of a counted loop from its LoopEntry: its maximum times the widest pass, then what
// follows it. Records the pass and what follows at the Loop node.
int64_t Capacity::loopWidth(int loopEntry)
{
    const int loop = loopNodeOf(loopEntry);
    if (loop < 0) {
        return kUnboundedWidth; // the walk stops there with an error
    }
    const int32_t min = readInt32(m_program + loop + kNodeHeader);
    const int32_t max = readInt32(m_program + loop + kNodeHeader + 4);
    const int64_t body = width(loop + readInt32(m_program + loop + kNodeHeader + 8), m_building);
    const int64_t pass = max >= kOpenBound ? kUnboundedWidth : std::max(body, int64_t {0});
    const int64_t after = width(nextNode(m_program, loop), m_building);
    const auto slot = static_cast<size_t>(loop);
    building().pass[slot] = pass;
    building().after[slot] = std::max(after, int64_t {0});
    m_bounded = m_bounded || (max > 0 && pass < kUnboundedWidth);
    if (after < 0 || (body < 0 && min > 0)) {
        return kNoWay;
    }
    return addWidths(multiplyWidth(max, pass), after);
}

// What the node itself takes at the most: kNoWay where it needs a character the subject lacks.
int64_t Capacity::ownWidth(int node) const
{
    const Op op = opAt(m_program, node);
    switch (op) {
    case Op::Literal:
    case Op::LiteralCI: {
        const uint8_t *text = m_program + node + kNodeHeader;
        const uint8_t *end = std::find(text, m_program + m_size, 0);
        if (end == m_program + m_size) {
            return kUnboundedWidth;
        }
        const bool all = std::all_of(text, end,
            [this, op](uint8_t ch) { return m_present[ch] || (op == Op::LiteralCI && m_present[invertCase(ch)]); });
        return all ? end - text : kNoWay;
    }
    case Op::Star:
    case Op::Plus:
    case Op::StarLazy:
    case Op::PlusLazy:
    case Op::BackRef:
    case Op::BackRefCI:
        return kUnboundedWidth;
    case Op::Braces:
    case Op::BracesLazy: {
        const int repeated = node + kNodeHeader + kBracesOperand;
        if (repeated > m_size - kNodeHeader || !isSingleCharacter(opAt(m_program, repeated))) {
            return kUnboundedWidth; // a back-reference repeated: its group's text at each count
        }
        const int32_t min = readInt32(m_program + node + kNodeHeader);
        const int32_t max = readInt32(m_program + node + kNodeHeader + 4);
        if (!takesSome(repeated)) {
            return min > 0 ? kNoWay : 0;
        }
        return max >= kOpenBound ? kUnboundedWidth : std::max(max, 0);
    }
    default:
        if (!isSingleCharacter(op)) {
            return 0;
        }
        return takesSome(node) ? 1 : kNoWay;
    }
}

// Whether the single-character node takes some character of the subject.
bool Capacity::takesSome(int node) const
{
    for (int ch = 1; ch < 256; ++ch) {
        if (m_present[static_cast<size_t>(ch)] && takesCharacter(m_program, node, static_cast<uint8_t>(ch))) {
            return true;
        }
    }
    return false;
}

// Whether `node` takes characters one position each at places of the subject that rareWeight finds:
// a single-character node, a repetition of one, a literal.
bool Capacity::isRareCandidate(int node) const
{
    const Op op = opAt(m_program, node);
    if (op == Op::Literal || op == Op::LiteralCI) {
        return std::find(m_program + node + kNodeHeader, m_program + m_size, 0) != m_program + m_size;
    }
    if (isRepeat(op)) {
        const int repeated = node + kNodeHeader + (isBraces(op) ? kBracesOperand : 0);
        return repeated <= m_size - kNodeHeader && isSingleCharacter(opAt(m_program, repeated));
    }
    return isSingleCharacter(op);
}

// The characters `node` (a rare candidate) can take that begin at `position`: a literal's length
// where it stands there, one where its character (or the repeated one) does, else 0.
int64_t Capacity::rareWeight(int node, int position) const
{
    const Op op = opAt(m_program, node);
    const uint8_t *at = m_input + position;
    if (op == Op::Literal || op == Op::LiteralCI) {
        const uint8_t *text = m_program + node + kNodeHeader;
        int i = 0;
        for (; text[i] != 0; ++i) {
            if (at[i] == 0 || (at[i] != text[i] && !(op == Op::LiteralCI && at[i] == invertCase(text[i])))) {
                return 0;
            }
        }
        return i;
    }
    const int taken = isRepeat(op) ? node + kNodeHeader + (isBraces(op) ? kBracesOperand : 0) : node;
    return takesCharacter(m_program, taken, at[0]) ? 1 : 0;
}

// Adds `node` to the rare nodes when the characters it can take stand in at most a quarter of the
// subject (of at most kMaxRareSubject bytes), and its characters at each position to rareLeft (summed
// from the end once all are in).
void Capacity::noteRare(int node)
{
    if (m_length > kMaxRareSubject || !isRareCandidate(node)) {
        return;
    }
    int64_t total = 0;
    for (int position = 0; position < m_length; ++position) {
        total += rareWeight(node, position);
    }
    if (total * 4 > m_length) {
        return;
    }
    m_rare[static_cast<size_t>(node)] = 1;
    m_hasRare = true;
    for (int position = 0; position < m_length; ++position) {
        m_rareLeft[static_cast<size_t>(position)] += rareWeight(node, position);
    }
}

} // namespace regex
