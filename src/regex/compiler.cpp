// The pattern compiler: parser and code emitter of the pattern engine (see compiler.h).
// Both passes run the same parse code; in the sizing pass the emitters only count bytes.
#include "compiler.h"

#include "captures.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <utility>

namespace regex {

namespace {

// The twelve characters that end a run of ordinary characters.
constexpr CharTable kMetaTable = makeTable("^$.[()|?+*\\{");

bool isMeta(uint8_t ch)
{
    return kMetaTable[ch];
}

bool isQuantifier(uint8_t ch)
{
    return ch == '*' || ch == '+' || ch == '?' || ch == '{';
}

// White space that the x modifier skips between atoms and leaves out of literals.
bool isExtendedSpace(uint8_t ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r';
}

bool isDigit(uint8_t ch)
{
    return ch >= '0' && ch <= '9';
}

int hexValue(uint8_t ch)
{
    if (ch >= '0' && ch <= '9') {
        return ch - '0';
    }
    if (ch >= 'a' && ch <= 'f') {
        return ch - 'a' + 10;
    }
    if (ch >= 'A' && ch <= 'F') {
        return ch - 'A' + 10;
    }
    return -1;
}

// The bit of a modifier letter in either case, 0 for any other character.
uint32_t modifierBit(char letter)
{
    switch (letter) {
    case 'i':
    case 'I':
        return kModI;
    case 'r':
    case 'R':
        return kModR;
    case 's':
    case 'S':
        return kModS;
    case 'g':
    case 'G':
        return kModG;
    case 'm':
    case 'M':
        return kModM;
    case 'x':
    case 'X':
        return kModX;
    default:
        return 0;
    }
}

} // namespace

bool applyModifierLetters(std::string_view letters, uint32_t &set)
{
    bool clearing = false;
    for (const char letter : letters) {
        if (letter == '-') {
            clearing = true;
            continue;
        }
        const uint32_t bit = modifierBit(letter);
        if (bit == 0) {
            return false;
        }
        set = clearing ? (set & ~bit) : (set | bit);
    }
    return true;
}

Program compile(std::string_view expression, const CompileOptions &options)
{
    return Compiler(expression.substr(0, expression.find('\0')), options).compile();
}

Compiler::Compiler(std::string_view expression, const CompileOptions &options)
    : m_text(reinterpret_cast<const uint8_t *>(expression.data()))
    , m_length(static_cast<int>(std::min(expression.size(), static_cast<size_t>(kMaxProgramBytes) + 1)))
    , m_options(options)
{ }

void Compiler::fail(ErrorCode code) const
{
    throw Error {code, m_pos};
}

Program Compiler::compile()
{
    if (m_length == 0) {
        fail(ErrorCode::NullArgument);
    }
    if (m_length > kMaxProgramBytes) {
        fail(ErrorCode::ProgramTooBig); // also keeps every position within int
    }
    m_program.modifiers = m_options.modifiers;
    m_program.linePair = m_options.linePair;

    int flags = 0;
    m_parseModifiers = m_options.modifiers;
    m_pos = 0;
    m_nextGroup = 1;
    m_nonEmptyClosedGroups = 0;
    m_size = 0;
    m_sizing = true;
    addByte(kProgramSignature);
    parseReg(false, flags);

    m_program.bytes.assign(static_cast<size_t>(m_size), 0);
    m_out = m_program.bytes.data();
    m_sizing = false;
    m_parseModifiers = m_options.modifiers;
    m_pos = 0;
    m_nextGroup = 1;
    m_nonEmptyClosedGroups = 0;
    m_emit = 0;
    addByte(kProgramSignature);
    parseReg(false, flags);
    assert(m_emit == m_size); // both passes ran the same parse

    collectStartData(flags);
    return std::move(m_program);
}

void Compiler::grow(int bytes)
{
    if (bytes > kMaxProgramBytes - m_size) {
        fail(ErrorCode::ProgramTooBig);
    }
    m_size += bytes;
}

int Compiler::addNode(uint8_t opcode)
{
    if (m_sizing) {
        grow(kNodeHeader);
        return kSizingMark;
    }
    const int node = m_emit;
    m_out[m_emit] = opcode;
    writeInt32(m_out + m_emit + 1, 0);
    m_emit += kNodeHeader;
    return node;
}

void Compiler::addByte(uint8_t value)
{
    if (m_sizing) {
        grow(1);
        return;
    }
    m_out[m_emit++] = value;
}

void Compiler::addBytes(const uint8_t *bytes, int count)
{
    if (m_sizing) {
        grow(count);
        return;
    }
    std::memcpy(m_out + m_emit, bytes, static_cast<size_t>(count));
    m_emit += count;
}

void Compiler::addInt32(int32_t value)
{
    if (m_sizing) {
        grow(4);
        return;
    }
    writeInt32(m_out + m_emit, value);
    m_emit += 4;
}

// Puts a node of `bytes` bytes (opcode, zero link, zeroed operand) in front of the nodes written
// from `at` on; their links are relative, so they stay valid.
void Compiler::insertNode(uint8_t opcode, int at, int bytes)
{
    if (m_sizing) {
        grow(bytes);
        return;
    }
    std::memmove(m_out + at + bytes, m_out + at, static_cast<size_t>(m_emit - at));
    m_out[at] = opcode;
    std::memset(m_out + at + 1, 0, static_cast<size_t>(bytes - 1));
    m_emit += bytes;
}

// Sets the link of the last node on the chain that starts at `node` to `target`.
void Compiler::linkTail(int node, int target)
{
    if (m_sizing) {
        return;
    }
    int last = node;
    for (int next = nextNode(m_out, last); next >= 0; next = nextNode(m_out, last)) {
        last = next;
    }
    writeInt32(m_out + last + 1, target - last);
}

// Links the end of the alternative held by a Branch node to `target`.
void Compiler::linkBranchTail(int node, int target)
{
    if (m_sizing || opAt(m_out, node) != Op::Branch) {
        return;
    }
    linkTail(node + kNodeHeader, target);
}

// A whole expression (the top level) or the inside of a group: alternatives between `|`, each a
// Branch node linked to the next, every alternative's end leading to the closing node.
int Compiler::parseReg(bool group, int &flags)
{
    flags = kNonEmpty;
    const uint32_t savedModifiers = m_parseModifiers;
    int groupNumber = 0;
    int start = kSizingMark;
    if (group) {
        if (m_nextGroup >= kGroupCount) {
            fail(ErrorCode::TooManyGroups);
        }
        groupNumber = m_nextGroup++;
        start = addNode(static_cast<uint8_t>(kOpenFirst - 1 + groupNumber));
    }
    int lastLink = start;
    for (bool first = true;; first = false) {
        if (!first) {
            ++m_pos; // over '|'
        }
        int branchFlags = 0;
        const int branch = parseSequence(branchFlags);
        if (first && !group) {
            start = branch;
        } else {
            linkTail(lastLink, branch);
        }
        lastLink = branch;
        if ((branchFlags & kNonEmpty) == 0) {
            flags &= ~kNonEmpty;
        }
        flags |= branchFlags & kRepeats;
        if (cur() != '|') {
            break;
        }
    }
    const int closing = addNode(group ? static_cast<uint8_t>(kCloseFirst - 1 + groupNumber) : 0);
    linkTail(lastLink, closing);
    if (!m_sizing) {
        for (int node = start; node >= 0; node = nextNode(m_out, node)) {
            linkBranchTail(node, closing);
        }
    }
    if (group) {
        if (cur() != ')') {
            fail(ErrorCode::UnclosedGroup);
        }
        ++m_pos;
        if ((flags & kNonEmpty) != 0) {
            m_nonEmptyClosedGroups |= static_cast<uint16_t>(1u << groupNumber);
        }
    } else if (cur() == ')') {
        fail(ErrorCode::UnopenedGroup);
    } else if (cur() != 0) {
        fail(ErrorCode::JunkOnEnd);
    }
    m_parseModifiers = savedModifiers;
    return start;
}

// One alternative: a Branch node whose operand is the chain of its pieces.
int Compiler::parseSequence(int &flags)
{
    flags = 0;
    const int branch = addNode(static_cast<uint8_t>(Op::Branch));
    int previous = kSizingMark;
    bool first = true;
    while (cur() != 0 && cur() != '|' && cur() != ')') {
        int pieceFlags = 0;
        const int piece = parseQuantified(pieceFlags);
        flags |= pieceFlags & kNonEmpty;
        if (first) {
            flags |= pieceFlags & kRepeats;
        } else {
            linkTail(previous, piece);
        }
        previous = piece;
        first = false;
    }
    if (first) {
        addNode(static_cast<uint8_t>(Op::Empty));
    }
    return branch;
}

// An atom and its quantifier; returns the piece's first node.
int Compiler::parseQuantified(int &flags)
{
    const int atom = emitPosition();
    int atomFlags = 0;
    parseAtom(atomFlags);
    const uint8_t quantifier = cur();
    if (!isQuantifier(quantifier)) {
        flags = atomFlags;
        return atom;
    }
    if ((atomFlags & kNonEmpty) == 0 && quantifier != '?') {
        fail(ErrorCode::RepeatOfEmpty);
    }
    const bool single = (atomFlags & kSingleChar) != 0;
    if (quantifier == '{') {
        int min = 0;
        int max = 0;
        if (!readBound(min, max)) {
            flags = atomFlags;
            return atom;
        }
        flags = (min > 0 ? kNonEmpty : 0) | (max > 0 ? kRepeats : 0);
        const bool lazy = charAt(m_pos + 1) == '?' || !has(kModG);
        if (single) {
            wrapBraces(atom, min, max, lazy);
        } else {
            wrapLoop(atom, min, max, lazy);
        }
    } else {
        const bool lazy = charAt(m_pos + 1) == '?' || !has(kModG);
        if (quantifier == '*') {
            flags = kRepeats;
            quantifyStar(atom, single, lazy);
        } else if (quantifier == '+') {
            flags = kNonEmpty | kRepeats;
            quantifyPlus(atom, single, lazy);
        } else {
            flags = 0;
            quantifyOptional(atom, single, lazy);
        }
    }
    ++m_pos; // over the quantifier or the bound's '}'
    if (cur() == '?') {
        ++m_pos;
    }
    if (isQuantifier(cur())) {
        fail(ErrorCode::NestedQuantifier);
    }
    return atom;
}

void Compiler::quantifyStar(int atom, bool single, bool lazy)
{
    if (single) {
        insertNode(static_cast<uint8_t>(lazy ? Op::StarLazy : Op::Star), atom, kNodeHeader);
    } else if (lazy) {
        wrapLoop(atom, 0, kOpenBound, true);
    } else {
        // Branch[atom -> Back -> this Branch] | Branch[Empty]: the atom repeats, Empty is the way out.
        insertNode(static_cast<uint8_t>(Op::Branch), atom, kNodeHeader);
        linkBranchTail(atom, addNode(static_cast<uint8_t>(Op::Back)));
        linkBranchTail(atom, atom);
        linkTail(atom, addNode(static_cast<uint8_t>(Op::Branch)));
        linkTail(atom, addNode(static_cast<uint8_t>(Op::Empty)));
    }
}

void Compiler::quantifyPlus(int atom, bool single, bool lazy)
{
    if (single) {
        insertNode(static_cast<uint8_t>(lazy ? Op::PlusLazy : Op::Plus), atom, kNodeHeader);
    } else if (lazy) {
        wrapLoop(atom, 1, kOpenBound, true);
    } else {
        // atom -> Branch[Back -> atom] | Branch[Empty]: the atom runs once, then again or out.
        const int loop = addNode(static_cast<uint8_t>(Op::Branch));
        linkTail(atom, loop);
        linkTail(addNode(static_cast<uint8_t>(Op::Back)), atom);
        linkTail(loop, addNode(static_cast<uint8_t>(Op::Branch)));
        linkTail(atom, addNode(static_cast<uint8_t>(Op::Empty)));
    }
}

void Compiler::quantifyOptional(int atom, bool single, bool lazy)
{
    if (lazy) {
        if (single) {
            wrapBraces(atom, 0, 1, true);
        } else {
            wrapLoop(atom, 0, 1, true);
        }
        return;
    }
    // Branch[atom] | Branch[Empty], both leading to the Empty after them.
    insertNode(static_cast<uint8_t>(Op::Branch), atom, kNodeHeader);
    linkTail(atom, addNode(static_cast<uint8_t>(Op::Branch)));
    const int exit = addNode(static_cast<uint8_t>(Op::Empty));
    linkTail(atom, exit);
    linkBranchTail(atom, exit);
}

// Reads {n}, {n,} or {n,m} at the parse position and leaves it on the '}'. When the text there has
// not that shape, the position stays on the '{', which is then read as an ordinary character.
bool Compiler::readBound(int &min, int &max)
{
    const int minStart = m_pos + 1;
    int end = minStart;
    while (isDigit(charAt(end))) {
        ++end;
    }
    const int minDigits = end - minStart;
    if (minDigits == 0) {
        return false;
    }
    int maxStart = -1;
    int maxDigits = 0;
    if (charAt(end) == ',') {
        maxStart = ++end;
        while (isDigit(charAt(end))) {
            ++end;
        }
        maxDigits = end - maxStart;
    }
    if (charAt(end) != '}') {
        return false;
    }
    m_pos = end;
    min = parseBoundDigits(minStart, minDigits);
    if (maxStart < 0) {
        max = min;
    } else if (maxDigits == 0) {
        max = kOpenBound;
    } else {
        max = parseBoundDigits(maxStart, maxDigits);
    }
    if (max < min) {
        fail(ErrorCode::BoundMinAboveMax);
    }
    return true;
}

int Compiler::parseBoundDigits(int start, int digits)
{
    constexpr int kMaxBoundDigits = 8;
    if (digits > kMaxBoundDigits) {
        fail(ErrorCode::BoundTooLong);
    }
    int value = 0;
    for (int i = 0; i < digits; ++i) {
        value = value * 10 + (m_text[start + i] - '0');
    }
    return value;
}

void Compiler::wrapBraces(int atom, int min, int max, bool lazy)
{
    insertNode(static_cast<uint8_t>(lazy ? Op::BracesLazy : Op::Braces), atom, kNodeHeader + kBracesOperand);
    if (!m_sizing) {
        writeInt32(m_out + atom + kNodeHeader, min);
        writeInt32(m_out + atom + kNodeHeader + 4, max);
    }
}

// LoopEntry -> body -> Loop: the Loop node counts the passes and decides on another one.
void Compiler::wrapLoop(int atom, int min, int max, bool lazy)
{
    insertNode(static_cast<uint8_t>(Op::LoopEntry), atom, kNodeHeader);
    const int loop = addNode(static_cast<uint8_t>(lazy ? Op::LoopLazy : Op::Loop));
    addInt32(min);
    addInt32(max);
    addInt32(atom + kNodeHeader - loop);
    linkTail(atom, loop);
    if (!m_sizing) {
        linkTail(atom + kNodeHeader, loop);
    }
}

void Compiler::parseAtom(int &flags)
{
    flags = 0;
    const uint8_t ch = cur();
    ++m_pos;
    switch (ch) {
    case 0:
    case '|':
    case ')':
        fail(ErrorCode::AtomAtSeparator);
    case '^':
        addNode(static_cast<uint8_t>(has(kModM) ? Op::LineStartML : Op::LineStart));
        break;
    case '$':
        addNode(static_cast<uint8_t>(has(kModM) ? Op::LineEndML : Op::LineEnd));
        break;
    case '.':
        if (has(kModS)) {
            addNode(static_cast<uint8_t>(Op::AnyChar));
            flags = kNonEmpty | kSingleChar;
        } else {
            addNode(static_cast<uint8_t>(Op::AnyCharML));
            flags = kNonEmpty;
        }
        break;
    case '[':
        parseClass();
        flags = kNonEmpty | kSingleChar;
        break;
    case '(':
        parseParenthesis(flags);
        break;
    case '*':
    case '+':
    case '?':
        fail(ErrorCode::QuantifierFollowsNothing);
    case '\\':
        parseEscape(flags);
        break;
    default:
        --m_pos;
        parseLiteral(flags);
        break;
    }
}

// After '(': a comment, inline modifiers, or a group.
void Compiler::parseParenthesis(int &flags)
{
    if (cur() == '?' && charAt(m_pos + 1) == '#') {
        m_pos += 2;
        while (cur() != ')') {
            if (cur() == 0) {
                fail(ErrorCode::UnclosedComment);
            }
            ++m_pos;
        }
        ++m_pos;
        addNode(static_cast<uint8_t>(Op::Comment));
        return;
    }
    if (cur() == '?') {
        const int lettersStart = ++m_pos;
        while (cur() != ')' && cur() != 0) {
            ++m_pos;
        }
        const std::string_view letters(
            reinterpret_cast<const char *>(m_text) + lettersStart, static_cast<size_t>(m_pos - lettersStart));
        if (cur() != ')' || !applyModifierLetters(letters, m_parseModifiers)) {
            fail(ErrorCode::UnknownModifier);
        }
        ++m_pos;
        addNode(static_cast<uint8_t>(Op::Comment));
        return;
    }
    int groupFlags = 0;
    parseReg(true, groupFlags);
    flags = groupFlags & (kNonEmpty | kRepeats);
}

// After '\' outside a class.
void Compiler::parseEscape(int &flags)
{
    const uint8_t escaped = cur();
    if (escaped == 0) {
        fail(ErrorCode::TrailingBackslash);
    }
    ++m_pos;
    flags = kNonEmpty | kSingleChar;
    switch (escaped) {
    case 'A':
        addNode(static_cast<uint8_t>(Op::LineStart));
        flags = 0;
        break;
    case 'Z':
        addNode(static_cast<uint8_t>(Op::LineEnd));
        flags = 0;
        break;
    case 'b':
        addNode(static_cast<uint8_t>(Op::WordBound));
        flags = 0;
        break;
    case 'B':
        addNode(static_cast<uint8_t>(Op::NotWordBound));
        flags = 0;
        break;
    case 'd':
        addNode(static_cast<uint8_t>(Op::Digit));
        break;
    case 'D':
        addNode(static_cast<uint8_t>(Op::NotDigit));
        break;
    case 's':
    case 'S':
        addFixedClass(kSpaceCharacters, escaped == 'S');
        break;
    case 'w':
    case 'W':
        addFixedClass(kWordCharacters, escaped == 'W');
        break;
    default:
        if (escaped >= '1' && escaped <= '9') {
            addNode(static_cast<uint8_t>(has(kModI) ? Op::BackRefCI : Op::BackRef));
            const int group = escaped - '0';
            addByte(static_cast<uint8_t>(group));
            m_program.hasBackRef = true;
            m_program.referencedGroups |= static_cast<uint16_t>(1u << group);
            if ((m_nonEmptyClosedGroups & (1u << group)) == 0) {
                m_program.emptyBackRef = true;
            }
        } else {
            const uint8_t ch = unescapeChar(escaped);
            addNode(static_cast<uint8_t>(has(kModI) ? Op::LiteralCI : Op::Literal));
            addByte(ch);
            addByte(0);
        }
        break;
    }
}

// Characters before the first metacharacter (with x also before '#') or the end.
int Compiler::literalRunLength(int from) const
{
    const bool extended = has(kModX);
    int end = from;
    for (uint8_t ch = charAt(end); ch != 0 && !isMeta(ch) && !(extended && ch == '#'); ch = charAt(++end)) { }
    return end - from;
}

// A run of ordinary characters (or a '{' that begins no bound); with x also skipped white space
// and '#' comments, which become Comment nodes.
void Compiler::parseLiteral(int &flags)
{
    const bool extended = has(kModX);
    const uint8_t first = cur();
    if (extended && isExtendedSpace(first)) {
        while (isExtendedSpace(cur())) {
            ++m_pos;
        }
        addNode(static_cast<uint8_t>(Op::Comment));
        return;
    }
    if (extended && first == '#') {
        while (cur() != 0 && cur() != '\r' && cur() != '\n') {
            ++m_pos;
        }
        while (cur() == '\r' || cur() == '\n') {
            ++m_pos;
        }
        addNode(static_cast<uint8_t>(Op::Comment));
        return;
    }
    int length = literalRunLength(m_pos);
    if (length == 0) {
        if (first != '{') {
            fail(ErrorCode::EmptyLiteral);
        }
        length = 1 + literalRunLength(m_pos + 1);
    }
    // A quantifier after the run applies to its last character alone.
    if (length > 1 && isQuantifier(charAt(m_pos + length))) {
        --length;
    }
    flags = kNonEmpty | (length == 1 ? kSingleChar : 0);
    addNode(static_cast<uint8_t>(has(kModI) ? Op::LiteralCI : Op::Literal));
    if (extended) {
        for (int i = 0; i < length; ++i) {
            if (!isExtendedSpace(m_text[m_pos + i])) {
                addByte(m_text[m_pos + i]);
            }
        }
    } else {
        addBytes(m_text + m_pos, length);
    }
    addByte(0);
    m_pos += length;
}

// The character an escape stands for; the parse position is after the escaped character.
uint8_t Compiler::unescapeChar(uint8_t escaped)
{
    switch (escaped) {
    case 'a':
        return 7;
    case 'e':
        return 27;
    case 'f':
        return 12;
    case 'n':
        return 10;
    case 'r':
        return 13;
    case 't':
        return 9;
    case 'x':
        return readHexCode();
    default:
        return escaped;
    }
}

// \xHH (exactly two digits) or \x{H...} (a value up to 255).
uint8_t Compiler::readHexCode()
{
    if (cur() == '{') {
        ++m_pos;
        int value = 0;
        int digits = 0;
        for (;;) {
            const uint8_t ch = cur();
            if (ch == '}' && digits > 0) {
                ++m_pos;
                return static_cast<uint8_t>(value);
            }
            if (ch == 0 || ch == '}') {
                fail(ErrorCode::NoHexCode);
            }
            const int digit = hexValue(ch);
            if (digit < 0) {
                fail(ErrorCode::BadHexDigit);
            }
            if (value >= 16) {
                fail(ErrorCode::HexCodeTooBig);
            }
            value = value * 16 + digit;
            ++digits;
            ++m_pos;
        }
    }
    int value = 0;
    for (int i = 0; i < 2; ++i) {
        const uint8_t ch = cur();
        if (ch == 0) {
            fail(ErrorCode::NoHexCode);
        }
        const int digit = hexValue(ch);
        if (digit < 0) {
            fail(ErrorCode::BadHexDigit);
        }
        value = value * 16 + digit;
        ++m_pos;
    }
    return static_cast<uint8_t>(value);
}

} // namespace regex
