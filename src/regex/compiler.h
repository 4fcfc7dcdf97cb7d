// The pattern compiler: a recursive-descent parser run twice over the expression, first counting the
// program's bytes, then writing them into a block of exactly that size; then the start-position data.
#pragma once

#include "errors.h"
#include "program.h"

#include <cstdint>
#include <string_view>

namespace regex {

class ClassMembers;

// Upper bound of a program's size, and of a pattern's length; past it the compile fails with
// "Regexp Too Big" (101). A pattern a user types compiles to a few hundred bytes.
constexpr int kMaxProgramBytes = 1 << 20;

struct CompileOptions
{
    uint32_t modifiers = 0; // the modifier bits in force at the start of the pattern
    LinePair linePair;
};

// Applies modifier letters ("i", "-s", "im-x") to `set`: letters set their bit until a '-', which
// switches to clearing for the rest. False at the first other character; the letters before it stay.
bool applyModifierLetters(std::string_view letters, uint32_t &set);

// Compiles `expression` (a zero byte ends it) into a program with its start-position data. Throws
// regex::Error with the parse position on a syntax error. Group nesting is bounded by the 14 groups a
// pattern may have (error 102).
Program compile(std::string_view expression, const CompileOptions &options);

// The parser and emitter behind compile(); one object compiles one expression.
class Compiler
{
public:
    Compiler(std::string_view expression, const CompileOptions &options);

    Program compile();

private:
    static constexpr int kSizingMark = -1; // node position returned while only counting bytes

    uint8_t charAt(int index) const { return index < m_length ? m_text[index] : 0; }
    uint8_t cur() const { return charAt(m_pos); }
    bool has(uint32_t modifier) const { return (m_parseModifiers & modifier) != 0; }
    [[noreturn]] void fail(ErrorCode code) const;

    void grow(int bytes);
    int addNode(uint8_t opcode);
    void addByte(uint8_t value);
    void addBytes(const uint8_t *bytes, int count);
    void addInt32(int32_t value);
    void insertNode(uint8_t opcode, int at, int bytes);
    void linkTail(int node, int target);
    void linkBranchTail(int node, int target);
    int emitPosition() const { return m_sizing ? kSizingMark : m_emit; }

    int parseReg(bool group, int &flags);
    int parseSequence(int &flags);
    int parseQuantified(int &flags);
    void quantifyStar(int atom, bool single, bool lazy);
    void quantifyPlus(int atom, bool single, bool lazy);
    void quantifyOptional(int atom, bool single, bool lazy);
    bool readBound(int &min, int &max);
    int parseBoundDigits(int start, int digits);
    void wrapBraces(int atom, int min, int max, bool lazy);
    void wrapLoop(int atom, int min, int max, bool lazy);
    void parseAtom(int &flags);
    void parseParenthesis(int &flags);
    void parseEscape(int &flags);
    void parseLiteral(int &flags);
    int literalRunLength(int from) const;
    uint8_t unescapeChar(uint8_t escaped);
    uint8_t readHexCode();
    void parseClass();
    void addFixedClass(std::string_view list, bool negated);
    void finishClass(int node, const ClassMembers &members, bool negated);

    void collectStartData(int flags);
    void collectStartSet(int first);

    const uint8_t *m_text;
    int m_length;
    CompileOptions m_options;
    Program m_program;
    int m_pos = 0;
    int m_nextGroup = 1;
    uint16_t m_nonEmptyClosedGroups = 0; // bit n: group n is closed and never matches the empty text
    bool m_sizing = true;
    int m_size = 0;
    uint8_t *m_out = nullptr;
    int m_emit = 0;
    uint32_t m_parseModifiers = 0;
};

} // namespace regex
