// The compiled program of the pattern engine: the Program object, its byte layout and opcodes, and the
// fixed character lists. The compiler writes programs, the matcher walks them.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace regex {

// Program block (Program::bytes):
//   offset 0      1 byte    kProgramSignature (216)
//   offset 1      ...       the nodes; the first is the Branch of the first top-level alternative
//
// Node, at any offset n of the block:
//   n + 0         1 byte    opcode (Op)
//   n + 1         4 bytes   next link: signed little-endian distance from this opcode byte to the next
//                           node's opcode byte; 0 = no next node; negative only for Back
//   n + 5         ...       operand, by opcode:
//     Literal, LiteralCI    the characters, then a zero byte
//     TinySet, TinySetNot   3 bytes: the members ascending, padded with the highest member
//     FullSet               32 bytes: character c is bit (c % 8) of byte (c / 8)
//     BackRef, BackRefCI    1 byte: the group number 1..9
//     Braces, BracesLazy    n + 5 min (int32), n + 9 max (int32), n + 13 the repeated node
//     Star, Plus and lazy   n + 5 the repeated node
//     Loop, LoopLazy        n + 5 min (int32), n + 9 max (int32), n + 13 body offset (int32: distance
//                           from this opcode byte back to the body's first node, negative)
//     Branch                n + 5 the first node of the alternative
//     all others            none
// All links are relative, so the compiler can shift written nodes to put one in front of them.
constexpr uint8_t kProgramSignature = 216;
constexpr int kNodeHeader = 5;
constexpr int kTinySetSize = 3;
constexpr int kFullSetSize = 32;
constexpr int kBracesOperand = 8;
constexpr int kLoopOperand = 12;
constexpr int32_t kOpenBound = 2147483646;       // the open end of {n,}, *? and +? loops
constexpr int32_t kUnboundedRepeat = 2147483647; // Star and Plus

enum class Op : uint8_t {
    End = 0,
    LineStart = 1,
    LineEnd = 2,
    AnyChar = 3,
    Branch = 6,
    Back = 7,
    Literal = 8,
    Empty = 9,
    Star = 10,
    Plus = 11,
    Digit = 12,
    NotDigit = 13,
    Braces = 18,
    Comment = 19,
    LiteralCI = 20,
    LoopEntry = 23,
    Loop = 24,
    TinySet = 25,
    TinySetNot = 26,
    FullSet = 27,
    BackRef = 28,
    BackRefCI = 29,
    StarLazy = 30,
    PlusLazy = 31,
    BracesLazy = 32,
    LoopLazy = 33,
    LineStartML = 34,
    LineEndML = 35,
    AnyCharML = 36,
    WordBound = 37,
    NotWordBound = 38,
    Open = 40,  // Open + n - 1 for group n = 1..14
    Close = 55, // Close + n - 1
};
constexpr int kOpenFirst = 40;
constexpr int kOpenLast = 53;
constexpr int kCloseFirst = 55;
constexpr int kCloseLast = 68;

// Flags every parse routine reports about what it parsed.
constexpr int kNonEmpty = 1;   // never matches the empty string
constexpr int kSingleChar = 2; // one character (or a back-reference): repeated by a counting node
constexpr int kRepeats = 4;    // begins with a repeated piece

// Modifier bits.
constexpr uint32_t kModI = 1;
constexpr uint32_t kModR = 2;
constexpr uint32_t kModS = 4;
constexpr uint32_t kModG = 8;
constexpr uint32_t kModM = 16;
constexpr uint32_t kModX = 32;

constexpr std::string_view kSpaceCharacters {" \t\n\r\f"};
constexpr std::string_view kWordCharacters {"0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_"};
constexpr std::string_view kLineSeparatorCharacters {"\r\n"};

using CharTable = std::array<bool, 256>;

constexpr CharTable makeTable(std::string_view members)
{
    CharTable table {};
    for (const char ch : members) {
        table[static_cast<uint8_t>(ch)] = true;
    }
    return table;
}

constexpr CharTable kWordTable = makeTable(kWordCharacters);
constexpr CharTable kLineSeparatorTable = makeTable(kLineSeparatorCharacters);

// The case inverter: ASCII letters only, so the bytes of UTF-8 sequences are never altered.
constexpr uint8_t invertCase(uint8_t ch)
{
    if (ch >= 'a' && ch <= 'z') {
        return static_cast<uint8_t>(ch - 'a' + 'A');
    }
    if (ch >= 'A' && ch <= 'Z') {
        return static_cast<uint8_t>(ch - 'A' + 'a');
    }
    return ch;
}

inline int32_t readInt32(const uint8_t *at)
{
    uint32_t value = static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8
        | static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
    return static_cast<int32_t>(value);
}

inline void writeInt32(uint8_t *at, int32_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    at[0] = static_cast<uint8_t>(bits);
    at[1] = static_cast<uint8_t>(bits >> 8);
    at[2] = static_cast<uint8_t>(bits >> 16);
    at[3] = static_cast<uint8_t>(bits >> 24);
}

inline Op opAt(const uint8_t *program, int node)
{
    return static_cast<Op>(program[node]);
}

// The node after `node`, or -1 when its link is 0.
inline int nextNode(const uint8_t *program, int node)
{
    const int32_t link = readInt32(program + node + 1);
    return link == 0 ? -1 : node + link;
}

inline bool isOpen(Op op)
{
    return static_cast<int>(op) >= kOpenFirst && static_cast<int>(op) <= kOpenLast;
}

inline bool isClose(Op op)
{
    return static_cast<int>(op) >= kCloseFirst && static_cast<int>(op) <= kCloseLast;
}

// Star, Plus, Braces and their lazy forms: repetitions of the single-character node after the operand.
inline bool isRepeat(Op op)
{
    return op == Op::Star || op == Op::Plus || op == Op::Braces || op == Op::StarLazy || op == Op::PlusLazy
        || op == Op::BracesLazy;
}

inline bool isBraces(Op op)
{
    return op == Op::Braces || op == Op::BracesLazy;
}

inline bool isBackRef(Op op)
{
    return op == Op::BackRef || op == Op::BackRefCI;
}

// The nodes that take one character (a literal as the node a repetition repeats: its first).
inline bool isSingleCharacter(Op op)
{
    switch (op) {
    case Op::AnyChar:
    case Op::AnyCharML:
    case Op::Literal:
    case Op::LiteralCI:
    case Op::Digit:
    case Op::NotDigit:
    case Op::TinySet:
    case Op::TinySetNot:
    case Op::FullSet:
        return true;
    default:
        return false;
    }
}

inline bool fullSetHas(const uint8_t *set, uint8_t ch)
{
    return (set[ch >> 3] >> (ch & 7)) & 1;
}

// Whether the single-character node at `node` takes `ch`; the end of the text (0) is no character.
// A multi-line dot is taken to take a line pair's first character, which only errs towards taking.
inline bool takesCharacter(const uint8_t *program, int node, uint8_t ch)
{
    const uint8_t *operand = program + node + kNodeHeader;
    const bool digit = ch >= '0' && ch <= '9';
    switch (opAt(program, node)) {
    case Op::AnyChar:
        return ch != 0;
    case Op::AnyCharML:
        return ch != 0 && !kLineSeparatorTable[ch];
    case Op::Literal:
        return ch != 0 && ch == operand[0];
    case Op::LiteralCI:
        return ch != 0 && (ch == operand[0] || ch == invertCase(operand[0]));
    case Op::Digit:
        return digit;
    case Op::NotDigit:
        return ch != 0 && !digit;
    case Op::TinySet:
        return ch != 0 && (ch == operand[0] || ch == operand[1] || ch == operand[2]);
    case Op::TinySetNot:
        return ch != 0 && ch != operand[0] && ch != operand[1] && ch != operand[2];
    case Op::FullSet:
        return ch != 0 && fullSetHas(operand, ch);
    default:
        return false;
    }
}

// The two characters of a line pair (CR LF by default); both 0 while no pair is set, so that the
// pair rules never apply.
struct LinePair
{
    uint8_t head = 0;
    uint8_t tail = 0;
};

// A compiled pattern: the block of nodes, the data that lets a run skip hopeless start positions,
// and the settings it was compiled with. Built by compile(), only read by the matcher. A program
// with no bytes is no program.
struct Program
{
    std::vector<uint8_t> bytes;
    uint32_t modifiers = 0; // the modifier bits it was compiled with
    LinePair linePair;      // the line pair it was compiled with
    bool hasBackRef = false;
    uint16_t referencedGroups = 0; // bit n: a back-reference reads group n
    // A back-reference may match the empty text: its group can, or is not closed before it (so the
    // reference may read a group whose end is still that of an earlier pass).
    bool emptyBackRef = false;
    uint8_t startChar = 0;   // every match begins with this character; 0 = no such character
    bool anchored = false;   // every match begins at the start of the text
    int requiredOffset = -1; // the longest literal every match holds: offset of its text in bytes, -1 = none
    int requiredLength = 0;
    std::bitset<256> startSet; // the characters a match can begin with (0 for the end of the text)

    bool empty() const { return bytes.empty(); }
    std::string_view requiredText() const
    {
        if (requiredOffset < 0) {
            return {};
        }
        return {reinterpret_cast<const char *>(bytes.data()) + requiredOffset, static_cast<size_t>(requiredLength)};
    }
};

} // namespace regex
