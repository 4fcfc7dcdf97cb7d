// The matcher of the pattern engine (see matcher.h).
// A failure anywhere takes back, through the undo records, every change made since the choice
// point it returns to: input position, group positions, loop counters and loop depth.
#include "matcher.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>

namespace regex {

namespace {

bool isDigit(uint8_t ch)
{
    return ch >= '0' && ch <= '9';
}

bool inTinySet(const uint8_t *set, uint8_t ch)
{
    return ch == set[0] || ch == set[1] || ch == set[2];
}

} // namespace

bool search(const Program &program, std::string_view subject, int start, Captures &captures, MatchScratch &scratch)
{
    captures.clear();
    if (subject.size() > kMaxSubjectBytes) {
        throw Error {ErrorCode::MatchTooComplex};
    }
    if (program.requiredOffset >= 0
        && subject.find(program.requiredText(), static_cast<size_t>(start)) == std::string_view::npos) {
        return false;
    }
    return Matcher(program, subject, captures, scratch).search(start);
}

Matcher::Matcher(const Program &program, std::string_view subject, Captures &captures, MatchScratch &scratch)
    : m_compiled(program)
    , m_program(program.bytes.data())
    , m_input(reinterpret_cast<const uint8_t *>(subject.data()))
    , m_length(static_cast<int>(subject.size()))
    , m_captures(captures)
    , m_memo(Memo::Waiting)
    , m_memoFromStep(scratch.memoAfterSteps)
    , m_scratch(scratch)
    , m_checkEmptyPasses(program.hasBackRef)
    , m_stack(scratch.stack)
{ }

void Matcher::fail(ErrorCode code)
{
    m_stack.clear();
    throw Error {code};
}

void Matcher::push(const BacktrackEntry &entry)
{
    if (m_stack.size() >= kMaxBacktrackEntries) {
        fail(ErrorCode::MatchTooComplex);
    }
    m_stack.push_back(entry);
}

bool Matcher::search(int start)
{
    m_loopDepth = 0;
    if (m_compiled.anchored) {
        return tryAt(start);
    }
    const uint8_t startChar = m_compiled.startChar;
    if (startChar != 0) {
        for (int position = start;;) {
            const void *hit = std::memchr(m_input + position, startChar, static_cast<size_t>(m_length - position));
            if (hit == nullptr) {
                return false;
            }
            position = static_cast<int>(static_cast<const uint8_t *>(hit) - m_input);
            if (tryAt(position)) {
                return true;
            }
            ++position;
        }
    }
    const std::bitset<256> &startSet = m_compiled.startSet;
    for (int position = start; position <= m_length; ++position) {
        if (startSet[m_input[position]] && tryAt(position)) {
            return true;
        }
    }
    return false;
}

bool Matcher::tryAt(int position)
{
    m_pos = position;
    if (ruledOut(1, position) || !matchPrim(1)) {
        return false;
    }
    m_captures.start[0] = position;
    m_captures.end[0] = m_pos;
    return true;
}

// Walks the chain from `node`; true when it reaches End, with m_pos at the end of the match.
bool Matcher::matchPrim(int node)
{
    m_stack.clear();
    m_topFrame = -1;
    for (;;) {
        if (node < 0) {
            fail(ErrorCode::MissingNextNode);
        }
        if (++m_steps > kMaxMatchSteps) {
            fail(ErrorCode::MatchTooComplex);
        }
        if (m_steps >= m_memoFromStep && isRevisit(node)) {
            if (!backtrack(node)) {
                return false;
            }
            continue;
        }
        const uint8_t *operand = m_program + node + kNodeHeader;
        const uint8_t ch = m_input[m_pos];
        bool ok = true;
        switch (opAt(m_program, node)) {
        case Op::End:
            m_stack.clear();
            return true;
        case Op::LineStart:
            ok = m_pos == 0;
            break;
        case Op::LineEnd:
            ok = ch == 0;
            break;
        case Op::AnyChar:
            ok = ch != 0;
            m_pos += ok ? 1 : 0;
            break;
        case Op::AnyCharML:
            ok = ch != 0 && !kLineSeparatorTable[ch]
                && !(ch == m_compiled.linePair.head && m_input[m_pos + 1] == m_compiled.linePair.tail);
            m_pos += ok ? 1 : 0;
            break;
        case Op::Literal:
        case Op::LiteralCI:
            ok = matchLiteral(operand, opAt(m_program, node) == Op::LiteralCI);
            break;
        case Op::Digit:
            ok = isDigit(ch);
            m_pos += ok ? 1 : 0;
            break;
        case Op::NotDigit:
            ok = ch != 0 && !isDigit(ch);
            m_pos += ok ? 1 : 0;
            break;
        case Op::TinySet:
            ok = ch != 0 && inTinySet(operand, ch);
            m_pos += ok ? 1 : 0;
            break;
        case Op::TinySetNot:
            ok = ch != 0 && !inTinySet(operand, ch);
            m_pos += ok ? 1 : 0;
            break;
        case Op::FullSet:
            ok = ch != 0 && fullSetHas(operand, ch);
            m_pos += ok ? 1 : 0;
            break;
        case Op::BackRef:
        case Op::BackRefCI:
            ok = matchBackRef(operand[0], opAt(m_program, node) == Op::BackRefCI);
            break;
        case Op::LineStartML:
            ok = atLineStart();
            break;
        case Op::LineEndML:
            ok = atLineEnd();
            break;
        case Op::WordBound:
            ok = atWordBoundary();
            break;
        case Op::NotWordBound:
            ok = !atWordBoundary();
            break;
        case Op::Branch:
            node = enterBranch(node);
            continue;
        case Op::Back:
            node = followBack(node);
            continue;
        case Op::Empty:
        case Op::Comment:
            break;
        case Op::Star:
        case Op::Plus:
        case Op::Braces:
        case Op::StarLazy:
        case Op::PlusLazy:
        case Op::BracesLazy:
            ok = startRepeat(node);
            if (ok) {
                continue;
            }
            break;
        case Op::LoopEntry:
            enterLoop(node);
            break;
        case Op::Loop:
        case Op::LoopLazy:
            node = loopStep(node);
            continue;
        default:
            setGroup(node);
            break;
        }
        if (ok) {
            node = nextNode(m_program, node);
        } else if (!backtrack(node)) {
            return false;
        }
    }
}

// Takes back entries down to the latest choice point and resumes it: `node` and m_pos are where
// the walk goes on. False when no choice is left.
bool Matcher::backtrack(int &node)
{
    while (!m_stack.empty()) {
        const BacktrackEntry entry = m_stack.back();
        m_stack.pop_back();
        ++m_steps;
        switch (entry.kind) {
        case Undo::GroupStart:
            m_captures.start[static_cast<size_t>(entry.a)] = entry.b;
            break;
        case Undo::GroupEnd:
            m_captures.end[static_cast<size_t>(entry.a)] = entry.b;
            break;
        case Undo::LoopDepth:
            m_loopDepth = entry.a;
            break;
        case Undo::LoopEntered:
            m_loopDepth = entry.a - 1;
            m_loopSerial[static_cast<size_t>(entry.a)] = entry.b;
            break;
        case Undo::LoopSlot:
            m_loopCounters[static_cast<size_t>(entry.a)] = entry.b;
            m_passStart[static_cast<size_t>(entry.a)] = entry.c;
            m_loopNode[static_cast<size_t>(entry.a)] = entry.node;
            break;
        case Undo::Branch: {
            m_pos = entry.pos;
            const int next = nextNode(m_program, entry.node);
            if (next >= 0 && opAt(m_program, next) == Op::Branch) {
                push({Undo::Branch, 0, next, entry.pos, 0, 0, 0});
            }
            node = entry.node + kNodeHeader;
            return true;
        }
        case Undo::RepeatGreedy:
            if (resumeGreedy(entry.node, entry.pos, entry.a, entry.b, entry.c, entry.lookahead, node)) {
                return true;
            }
            break;
        case Undo::RepeatLazy:
            if (resumeLazy(entry.node, entry.pos, entry.a, entry.b, entry.c, entry.lookahead, node)) {
                return true;
            }
            break;
        case Undo::LeaveLoop:
            m_pos = entry.pos;
            leaveLoop();
            node = nextNode(m_program, entry.node);
            return true;
        case Undo::PassLoop:
            m_pos = entry.pos;
            beginPass();
            node = entry.node + readInt32(m_program + entry.node + kNodeHeader + 8);
            return true;
        case Undo::Frame:
            recordFailure(entry);
            break;
        }
    }
    return false;
}

bool Matcher::matchLiteral(const uint8_t *text, bool foldCase)
{
    const uint8_t *input = m_input + m_pos;
    if (input[0] == 0) {
        return false; // the end of the text is not a character, also not for a literal "\x00"
    }
    int i = 0;
    do {
        const uint8_t want = text[i];
        if (input[i] != want && !(foldCase && input[i] == invertCase(want))) {
            return false;
        }
        ++i;
    } while (text[i] != 0);
    m_pos += i;
    m_steps += i;
    return true;
}

// Whether the `length` characters at m_pos equal those of the input at `from`.
bool Matcher::sameText(int from, int length, bool foldCase) const
{
    for (int i = 0; i < length; ++i) {
        const uint8_t want = m_input[from + i];
        const uint8_t have = m_input[m_pos + i];
        if (have != want && !(foldCase && have == invertCase(want))) {
            return false;
        }
    }
    return true;
}

bool Matcher::matchBackRef(int group, bool foldCase)
{
    const int start = m_captures.start[static_cast<size_t>(group)];
    const int end = m_captures.end[static_cast<size_t>(group)];
    if (start < 0 || end < start || end - start > m_length - m_pos) {
        return false;
    }
    const int length = end - start;
    if (!sameText(start, length, foldCase)) {
        return false;
    }
    m_pos += length;
    m_steps += length;
    return true;
}

bool Matcher::atLineStart() const
{
    if (m_pos <= 0) {
        return true;
    }
    const uint8_t before = m_input[m_pos - 1];
    const uint8_t head = m_compiled.linePair.head;
    const uint8_t tail = m_compiled.linePair.tail;
    if (before == tail && m_pos >= 2 && m_input[m_pos - 2] == head) {
        return true; // just after a complete pair
    }
    if (before == head && m_input[m_pos] == tail) {
        return false; // between the two characters of a pair
    }
    return kLineSeparatorTable[before];
}

bool Matcher::atLineEnd() const
{
    const uint8_t ch = m_input[m_pos];
    if (ch == 0) {
        return true;
    }
    const uint8_t head = m_compiled.linePair.head;
    const uint8_t tail = m_compiled.linePair.tail;
    if (ch == head && m_input[m_pos + 1] == tail) {
        return true; // just before a pair
    }
    if (ch == tail && m_pos > 0 && m_input[m_pos - 1] == head) {
        return false; // between the two characters of a pair
    }
    return kLineSeparatorTable[ch];
}

bool Matcher::atWordBoundary() const
{
    const bool before = m_pos > 0 && kWordTable[m_input[m_pos - 1]];
    const uint8_t ch = m_input[m_pos];
    const bool at = ch != 0 && kWordTable[ch];
    return before != at;
}

void Matcher::setGroup(int node)
{
    const Op op = opAt(m_program, node);
    if (isOpen(op)) {
        const auto group = static_cast<size_t>(static_cast<int>(op) - kOpenFirst + 1);
        push({Undo::GroupStart, 0, 0, 0, static_cast<int32_t>(group), m_captures.start[group], 0});
        m_captures.start[group] = m_pos;
    } else if (isClose(op)) {
        const auto group = static_cast<size_t>(static_cast<int>(op) - kCloseFirst + 1);
        push({Undo::GroupEnd, 0, 0, 0, static_cast<int32_t>(group), m_captures.end[group], 0});
        m_captures.end[group] = m_pos;
    } else {
        fail(ErrorCode::ReservedOpcode);
    }
}

// A Branch alone is no choice; a chain of them tries their alternatives from left to right.
int Matcher::enterBranch(int node)
{
    const int next = nextNode(m_program, node);
    const int operand = node + kNodeHeader;
    if (next < 0 || opAt(m_program, next) != Op::Branch) {
        return operand;
    }
    // The loop Branch of a greedy '+' on a group: after a pass that consumed nothing (possible
    // only through a back-reference to an empty group) the loop ends instead of going round again.
    if (m_checkEmptyPasses && opAt(m_program, operand) == Op::Back && lastPassWasEmpty(next)) {
        return next + kNodeHeader;
    }
    push({Undo::Branch, 0, next, m_pos, 0, 0, 0});
    return operand;
}

// The back link of a greedy '*' or '+' loop; for '*', an empty pass ends the loop as above.
int Matcher::followBack(int node)
{
    const int target = nextNode(m_program, node);
    if (m_checkEmptyPasses && target >= 0 && opAt(m_program, target) == Op::Branch) {
        const int exit = nextNode(m_program, target);
        if (exit >= 0 && opAt(m_program, exit) == Op::Branch && lastPassWasEmpty(exit)) {
            return exit + kNodeHeader;
        }
    }
    return target;
}

// Whether the latest choice of `exitBranch` (taken when the current pass began) was at m_pos.
bool Matcher::lastPassWasEmpty(int exitBranch)
{
    for (auto entry = m_stack.rbegin(); entry != m_stack.rend(); ++entry) {
        ++m_steps;
        if (entry->kind == Undo::Branch && entry->node == exitBranch) {
            return entry->pos == m_pos;
        }
    }
    return false;
}

// Star, Plus, Braces and their lazy forms: count the repetitions of the single-character node in
// one go, then try the continuation with each count, most first (greedy) or fewest first (lazy),
// only where the continuation's first literal character stands.
bool Matcher::startRepeat(int &node)
{
    if (ruledOut(node, m_pos)) {
        return false; // spares counting the repetitions
    }
    const Op op = opAt(m_program, node);
    const uint8_t *operand = m_program + node + kNodeHeader;
    int repeated = node + kNodeHeader;
    int min = 0;
    int max = kUnboundedRepeat;
    if (op == Op::Plus || op == Op::PlusLazy) {
        min = 1;
    } else if (op == Op::Braces || op == Op::BracesLazy) {
        min = readInt32(operand);
        max = readInt32(operand + 4);
        repeated += kBracesOperand;
    }
    const int next = nextNode(m_program, node);
    const uint8_t lookahead = next >= 0 && opAt(m_program, next) == Op::Literal ? m_program[next + kNodeHeader] : 0;
    int width = 1;
    int available = countRepeats(repeated, max, width);
    if (width == 0) {
        available = min; // a back-reference to an empty text: every count ends at the same place
    }
    if (op == Op::Star || op == Op::Plus || op == Op::Braces) {
        return resumeGreedy(next, m_pos, available, min, width, lookahead, node);
    }
    return resumeLazy(next, m_pos, min, available, width, lookahead, node);
}

bool Matcher::resumeGreedy(int next, int start, int count, int min, int width, uint8_t lookahead, int &node)
{
    if (count >= min) {
        count -= deadCounts(next, start, count, min, -1, width, lookahead);
    }
    if (count < min) {
        return false;
    }
    if (count > min) {
        push({Undo::RepeatGreedy, lookahead, next, start, count - 1, min, width});
    }
    m_pos = start + count * width;
    node = next;
    return true;
}

bool Matcher::resumeLazy(int next, int start, int count, int available, int width, uint8_t lookahead, int &node)
{
    if (count <= available) {
        count += deadCounts(next, start, count, available, 1, width, lookahead);
    }
    if (count > available) {
        return false;
    }
    if (count < available) {
        push({Undo::RepeatLazy, lookahead, next, start, count + 1, available, width});
    }
    m_pos = start + count * width;
    node = next;
    return true;
}

// How many times in a row the single-character node `repeated` matches from m_pos, at most
// `limit`; `width` is the length of one repetition (a back-reference's text, else 1).
int Matcher::countRepeats(int repeated, int limit, int &width)
{
    const uint8_t *operand = m_program + repeated + kNodeHeader;
    const uint8_t *input = m_input + m_pos;
    const int room = std::min(limit, m_length - m_pos);
    int count = 0;
    switch (opAt(m_program, repeated)) {
    case Op::AnyChar:
        count = room;
        break;
    case Op::Literal:
        while (count < room && input[count] == operand[0]) {
            ++count;
        }
        break;
    case Op::LiteralCI: {
        const uint8_t other = invertCase(operand[0]);
        while (count < room && (input[count] == operand[0] || input[count] == other)) {
            ++count;
        }
        break;
    }
    case Op::Digit:
        while (count < room && isDigit(input[count])) {
            ++count;
        }
        break;
    case Op::NotDigit:
        while (count < room && !isDigit(input[count])) {
            ++count;
        }
        break;
    case Op::TinySet:
        while (count < room && inTinySet(operand, input[count])) {
            ++count;
        }
        break;
    case Op::TinySetNot:
        while (count < room && !inTinySet(operand, input[count])) {
            ++count;
        }
        break;
    case Op::FullSet:
        while (count < room && fullSetHas(operand, input[count])) {
            ++count;
        }
        break;
    case Op::BackRef:
    case Op::BackRefCI:
        return countBackRefs(operand[0], opAt(m_program, repeated) == Op::BackRefCI, limit, width);
    default:
        fail(ErrorCode::RepeatOfMultiChar);
    }
    m_steps += count;
    return count;
}

int Matcher::countBackRefs(int group, bool foldCase, int limit, int &width)
{
    const int start = m_captures.start[static_cast<size_t>(group)];
    const int end = m_captures.end[static_cast<size_t>(group)];
    if (start < 0 || end < start) {
        return 0;
    }
    width = end - start;
    if (width == 0) {
        return 0;
    }
    const int from = m_pos;
    int count = 0;
    while (count < limit && width <= m_length - m_pos && sameText(start, width, foldCase)) {
        m_pos += width;
        m_steps += width;
        ++count;
    }
    m_pos = from;
    return count;
}

// A LoopEntry node, which links to its Loop node.
void Matcher::enterLoop(int node)
{
    const int depth = m_loopDepth + 1;
    if (depth > kLoopCounterCount) {
        fail(ErrorCode::LoopStackExceeded);
    }
    const auto slot = static_cast<size_t>(depth);
    push({Undo::LoopEntered, 0, 0, 0, depth, m_loopSerial[slot], 0});
    m_loopDepth = depth;
    m_loopSerial[slot] = m_nextSerial++;
    push({Undo::LoopSlot, 0, m_loopNode[slot], 0, depth, m_loopCounters[slot], m_passStart[slot]});
    m_loopCounters[slot] = 0;
    m_passStart[slot] = m_pos;
    m_loopNode[slot] = nextNode(m_program, node);
}

// A Loop or LoopLazy node, reached from its LoopEntry or at the end of a pass through the body:
// returns the node the walk goes on with. Every path leaves the loop level before the continuation
// and takes the counter back when it fails.
int Matcher::loopStep(int node)
{
    if (m_loopDepth <= 0) {
        fail(ErrorCode::LoopWithoutEntry);
    }
    const uint8_t *operand = m_program + node + kNodeHeader;
    const int min = readInt32(operand);
    const int max = readInt32(operand + 4);
    const int body = node + readInt32(operand + 8);
    const auto slot = static_cast<size_t>(m_loopDepth);
    const int count = m_loopCounters[slot];
    if (count < min) {
        beginPass();
        return body;
    }
    const bool emptyPass = count > 0 && m_pos == m_passStart[slot];
    if (count >= max || emptyPass) {
        if (count >= max) {
            markLoops(1u << m_loopDepth); // the maximum refused a pass
        }
        leaveLoop();
        return nextNode(m_program, node);
    }
    if (opAt(m_program, node) == Op::Loop) {
        push({Undo::LeaveLoop, 0, node, m_pos, 0, 0, 0});
        beginPass();
        return body;
    }
    push({Undo::PassLoop, 0, node, m_pos, 0, 0, 0});
    leaveLoop();
    return nextNode(m_program, node);
}

void Matcher::beginPass()
{
    const auto slot = static_cast<size_t>(m_loopDepth);
    push({Undo::LoopSlot, 0, m_loopNode[slot], 0, m_loopDepth, m_loopCounters[slot], m_passStart[slot]});
    ++m_loopCounters[slot];
    m_passStart[slot] = m_pos;
}

void Matcher::leaveLoop()
{
    push({Undo::LoopDepth, 0, 0, 0, m_loopDepth, 0, 0});
    --m_loopDepth;
}

} // namespace regex
