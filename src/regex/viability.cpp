// The viability map of a run (see viability.h). Built from the end of the subject to its start: a
// node is viable at a position when one of its ways that consume characters leads to a node viable
// further on, or a way that consumes nothing leads to a node viable at the same position; the
// latter are followed backwards from the nodes found viable, so loops of such ways are no trouble.
#include "viability.h"

#include "matcher.h"

#include <algorithm>
#include <limits>

namespace regex {

namespace {

constexpr int32_t kNoPosition = std::numeric_limits<int32_t>::max();

// The length of the literal at `node` where it stands at `input`, 0 where it does not.
int literalLength(const uint8_t *program, int node, const uint8_t *input)
{
    const uint8_t *text = program + node + kNodeHeader;
    const bool foldCase = opAt(program, node) == Op::LiteralCI;
    if (input[0] == 0 || text[0] == 0) {
        return 0;
    }
    int i = 0;
    for (; text[i] != 0; ++i) {
        if (input[i] != text[i] && !(foldCase && input[i] == invertCase(text[i]))) {
            return 0; // also at the end of the text, as no literal holds a zero byte
        }
    }
    return i;
}

} // namespace

bool ViabilityMap::build(const Program &program, const uint8_t *input, int length, int64_t maxBits, bool leastEnds)
{
    m_built = false;
    if (program.empty() || !collectNodes(program)) {
        return false;
    }
    const auto loopEntries
        = std::count_if(m_nodes.begin(), m_nodes.end(), [](const Node &node) { return node.op == Op::LoopEntry; });
    m_words = (static_cast<size_t>(length) + 1 + 63) / 64;
    if (loopEntries > kLoopCounterCount || static_cast<int64_t>(m_nodes.size() * m_words * 64) > maxBits) {
        return false; // nesting past the loop counters ends a run with an error, which must stay seen
    }
    linkEdges(program.bytes.data());
    collectGroupCharacters(program);
    m_bits.assign(m_nodes.size() * m_words, 0);
    m_positions = static_cast<size_t>(length) + 1;
    const bool endsFit
        = leastEnds && length <= 0xffff && static_cast<int64_t>(m_nodes.size() * m_positions) <= maxBits / 8;
    m_endBytes = !endsFit ? 0 : length <= 0xff ? 1 : 2;
    m_ends.assign(m_nodes.size() * m_positions * static_cast<size_t>(m_endBytes), 0);
    m_nearest.assign(m_nodes.size(), kNoPosition);
    for (int position = length; position >= 0; --position) {
        markPosition(program.bytes.data(), input, position);
    }
    m_built = true;
    return true;
}

// The nodes reachable from the start, each a row; false for a node the matcher fails at.
bool ViabilityMap::collectNodes(const Program &program)
{
    m_rowOf.assign(program.bytes.size(), -1);
    m_nodes.clear();
    std::vector<int> pending {1};
    while (!pending.empty()) {
        const int offset = pending.back();
        pending.pop_back();
        if (!addNode(program.bytes.data(), static_cast<int>(program.bytes.size()), offset, pending)) {
            return false;
        }
    }
    return true;
}

bool ViabilityMap::addNode(const uint8_t *program, int size, int offset, std::vector<int> &pending)
{
    if (offset < 1 || offset > size - kNodeHeader) {
        return false;
    }
    if (m_rowOf[static_cast<size_t>(offset)] >= 0) {
        return true;
    }
    const Op op = opAt(program, offset);
    m_rowOf[static_cast<size_t>(offset)] = static_cast<int32_t>(m_nodes.size());
    m_nodes.push_back({offset, op, Way::None, -1, -1, offset, 0, 0, kNoPosition});
    const int next = nextNode(program, offset);
    if (next >= 0) {
        pending.push_back(next);
    } else if (op != Op::End && op != Op::Branch) {
        return false;
    }
    if (op == Op::Branch) {
        pending.push_back(offset + kNodeHeader);
    } else if (op == Op::Loop || op == Op::LoopLazy) {
        if (offset + kNodeHeader + kLoopOperand > size) {
            return false;
        }
        pending.push_back(offset + readInt32(program + offset + kNodeHeader + 8));
    } else if (isRepeat(op)) {
        const int repeated = offset + kNodeHeader + (isBraces(op) ? kBracesOperand : 0);
        return repeated <= size - kNodeHeader
            && (isSingleCharacter(opAt(program, repeated)) || isBackRef(opAt(program, repeated)));
    }
    return op != Op::Branch || offset + 2 * kNodeHeader <= size;
}

// Resolves the rows of each node's ways and lists the ways that consume nothing, reversed.
void ViabilityMap::linkEdges(const uint8_t *program)
{
    const auto rowAt = [this](int offset) { return offset < 0 ? -1 : m_rowOf[static_cast<size_t>(offset)]; };
    for (Node &node : m_nodes) {
        node.way = wayOf(program, node.offset, node.taken, node.max);
        node.next = rowAt(nextNode(program, node.offset));
        if (node.op == Op::Branch) {
            node.other = rowAt(node.offset + kNodeHeader);
        } else if (node.op == Op::Loop || node.op == Op::LoopLazy) {
            node.other = rowAt(node.offset + readInt32(program + node.offset + kNodeHeader + 8));
        }
    }
    std::vector<std::pair<int32_t, int32_t>> edges; // to, from
    m_consumers.clear();
    for (int32_t row = 0; row < static_cast<int32_t>(m_nodes.size()); ++row) {
        const Node &node = m_nodes[static_cast<size_t>(row)];
        if (node.way != Way::None && node.way != Way::LineStart && node.way != Way::LineEnd) {
            m_consumers.push_back(row);
        }
        const bool consumesOnly = node.way == Way::End || node.way == Way::Character || node.way == Way::Literal;
        const bool branchChain = node.next >= 0 && m_nodes[static_cast<size_t>(node.next)].op == Op::Branch;
        if (node.next >= 0 && !consumesOnly && (node.op != Op::Branch || branchChain)) {
            edges.emplace_back(node.next, row);
        }
        if (node.other >= 0) {
            edges.emplace_back(node.other, row);
        }
    }
    std::sort(edges.begin(), edges.end());
    m_fromStart.assign(m_nodes.size() + 1, 0);
    m_fromRows.clear();
    for (const auto &[to, from] : edges) {
        ++m_fromStart[static_cast<size_t>(to) + 1];
        m_fromRows.push_back(from);
    }
    for (size_t row = 0; row < m_nodes.size(); ++row) {
        m_fromStart[row + 1] += m_fromStart[row];
    }
}

// The consuming way of the node at `offset`; `taken` and `max` as Node has them.
ViabilityMap::Way ViabilityMap::wayOf(const uint8_t *program, int offset, int32_t &taken, int32_t &max)
{
    const Op op = opAt(program, offset);
    if (isRepeat(op)) {
        taken = offset + kNodeHeader + (isBraces(op) ? kBracesOperand : 0);
        max = isBraces(op) ? readInt32(program + offset + kNodeHeader + 4) : kUnboundedRepeat;
        return isBackRef(opAt(program, taken)) ? Way::GroupText : Way::Repeat;
    }
    switch (op) {
    case Op::End:
        return Way::End;
    case Op::Literal:
    case Op::LiteralCI:
        return Way::Literal;
    case Op::BackRef:
    case Op::BackRefCI:
        return Way::GroupText;
    case Op::LineStart:
        return Way::LineStart;
    case Op::LineEnd:
        return Way::LineEnd;
    default:
        return isSingleCharacter(op) ? Way::Character : Way::None;
    }
}

// The characters each group that a back-reference reads can take: those of the nodes from its
// Open node up to its Close node (a back-reference inside a group: every character).
void ViabilityMap::collectGroupCharacters(const Program &program)
{
    for (std::bitset<256> &characters : m_groupCharacters) {
        characters.reset(); // also of a group the program does not hold, whose references match nothing
    }
    std::vector<uint8_t> seen(m_nodes.size());
    for (const Node &open : m_nodes) {
        if (!isOpen(open.op)) {
            continue;
        }
        const int group = static_cast<int>(open.op) - kOpenFirst + 1;
        if ((program.referencedGroups & (1u << group)) == 0) {
            continue;
        }
        std::bitset<256> &characters = m_groupCharacters[static_cast<size_t>(group)];
        std::fill(seen.begin(), seen.end(), 0);
        std::vector<int32_t> pending {open.next};
        while (!pending.empty()) {
            const int32_t row = pending.back();
            pending.pop_back();
            if (row < 0 || seen[static_cast<size_t>(row)] != 0) {
                continue;
            }
            seen[static_cast<size_t>(row)] = 1;
            const Node &node = m_nodes[static_cast<size_t>(row)];
            if (static_cast<int>(node.op) != kCloseFirst + group - 1) {
                addCharacters(program.bytes.data(), node, characters);
                pending.push_back(node.next);
                pending.push_back(node.other);
            }
        }
    }
}

void ViabilityMap::addCharacters(const uint8_t *program, const Node &node, std::bitset<256> &characters) const
{
    if (node.way == Way::Character || node.way == Way::Repeat) {
        for (int ch = 1; ch < 256; ++ch) {
            characters[static_cast<size_t>(ch)]
                = characters[static_cast<size_t>(ch)] || takesCharacter(program, node.taken, static_cast<uint8_t>(ch));
        }
    } else if (node.way == Way::Literal) {
        for (const uint8_t *text = program + node.offset + kNodeHeader; *text != 0; ++text) {
            characters.set(*text);
            characters.set(node.op == Op::LiteralCI ? invertCase(*text) : *text);
        }
    } else if (node.way == Way::GroupText) {
        characters.set();
    }
}

// Whether `ch` is one of the characters the back-reference at `backRef` can match.
bool ViabilityMap::takesGroupCharacter(const uint8_t *program, int backRef, uint8_t ch) const
{
    const uint8_t group = program[backRef + kNodeHeader];
    if (ch == 0 || group >= kGroupCount) {
        return false;
    }
    const std::bitset<256> &characters = m_groupCharacters[group];
    return characters[ch] || (opAt(program, backRef) == Op::BackRefCI && characters[invertCase(ch)]);
}

// Marks the rows viable at `position`, every later position being marked. The rows whose consuming
// ways are open are taken by their ends, least first, so that a row reached from several through
// ways that consume nothing gets the least.
void ViabilityMap::markPosition(const uint8_t *program, const uint8_t *input, int position)
{
    m_seeds.clear();
    for (const int32_t row : m_consumers) {
        const int32_t end = reachesEnd(program, m_nodes[static_cast<size_t>(row)], input, position);
        if (end != kNoPosition) {
            m_seeds.emplace_back(end, row);
        }
    }
    if (m_endBytes != 0) {
        std::sort(m_seeds.begin(), m_seeds.end());
    }
    for (const auto &[end, row] : m_seeds) {
        if (!bit(row, position)) {
            set(row, position, end);
            spreadBack(input, row, position, end);
        }
    }
}

// Marks viable at `position`, with `end`, the rows from which ways that consume nothing lead to `row`.
void ViabilityMap::spreadBack(const uint8_t *input, int32_t row, int position, int32_t end)
{
    m_pending.assign(1, row);
    while (!m_pending.empty()) {
        const auto to = static_cast<size_t>(m_pending.back());
        m_pending.pop_back();
        for (int32_t i = m_fromStart[to]; i < m_fromStart[to + 1]; ++i) {
            const int32_t from = m_fromRows[static_cast<size_t>(i)];
            if (!bit(from, position) && passes(m_nodes[static_cast<size_t>(from)], input, position)) {
                set(from, position, end);
                m_pending.push_back(from);
            }
        }
    }
}

// The least end from `row` at `position` where it is viable there, else kNoPosition; `position`
// while no ends are kept.
int32_t ViabilityMap::endAfter(int32_t row, int position) const
{
    if (row < 0 || !bit(row, position)) {
        return kNoPosition;
    }
    return m_endBytes == 0 ? position : end(row, position);
}

// The least end of a way of `node` that consumes characters from `position` and leads to a viable
// node (End is one), kNoPosition for none; moves a repetition's count and reach to `position`.
// Consuming nothing, a repetition leads to its next node as any way that consumes nothing does.
int32_t ViabilityMap::reachesEnd(const uint8_t *program, Node &node, const uint8_t *input, int position)
{
    const int32_t nearest = node.next < 0 ? kNoPosition : m_nearest[static_cast<size_t>(node.next)];
    switch (node.way) {
    case Way::End:
        return position;
    case Way::Character:
        return takesCharacter(program, node.taken, input[position]) ? endAfter(node.next, position + 1) : kNoPosition;
    case Way::Literal: {
        const int taken = literalLength(program, node.offset, input + position);
        return taken > 0 ? endAfter(node.next, position + taken) : kNoPosition;
    }
    case Way::Repeat:
    case Way::GroupText: {
        const bool takes = node.way == Way::Repeat ? takesCharacter(program, node.taken, input[position])
                                                   : takesGroupCharacter(program, node.taken, input[position]);
        const int32_t limit = node.way == Way::Repeat ? node.max : kUnboundedRepeat;
        node.count = takes ? std::min(limit, node.count + 1) : 0;
        node.reach = takes ? std::min(node.reach, endAfter(node.next, position + 1)) : kNoPosition;
        return takes && nearest <= position + node.count ? node.reach : kNoPosition;
    }
    default:
        return kNoPosition;
    }
}

// Whether the ways of `node` that consume nothing are open at `position`: the text's start and end
// are; other assertions are taken to hold, which only widens the map.
bool ViabilityMap::passes(const Node &node, const uint8_t *input, int position)
{
    if (node.way == Way::LineStart) {
        return position == 0;
    }
    if (node.way == Way::LineEnd) {
        return input[position] == 0;
    }
    return true;
}

// Marks `row` viable at `position`, the least position marked so far, with the least end `end`.
void ViabilityMap::set(int row, int position, int32_t end)
{
    const size_t index = static_cast<size_t>(row) * m_words * 64 + static_cast<size_t>(position);
    m_bits[index / 64] |= uint64_t {1} << (index % 64);
    m_nearest[static_cast<size_t>(row)] = position;
    const size_t entry = static_cast<size_t>(row) * m_positions + static_cast<size_t>(position);
    if (m_endBytes == 1) {
        m_ends[entry] = static_cast<uint8_t>(end);
    } else if (m_endBytes == 2) {
        m_ends[2 * entry] = static_cast<uint8_t>(end);
        m_ends[2 * entry + 1] = static_cast<uint8_t>(end >> 8);
    }
}

} // namespace regex
