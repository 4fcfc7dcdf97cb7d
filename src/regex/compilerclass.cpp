// The character-class part of the pattern compiler: `[...]` and the classes of \s \S \w \W.
#include "compiler.h"

#include <algorithm>
#include <array>
#include <bit>

namespace regex {

// The members of a character class while it is read: a 256-bit set, character c is bit c % 64 of
// word c / 64.
class ClassMembers
{
public:
    explicit ClassMembers(bool foldCase)
        : m_foldCase(foldCase)
    { }

    void add(uint8_t ch)
    {
        addOne(ch);
        if (m_foldCase) {
            addOne(invertCase(ch));
        }
    }

    void addRange(int first, int last)
    {
        if (m_foldCase) {
            for (int ch = first; ch <= last; ++ch) {
                add(static_cast<uint8_t>(ch));
            }
            return;
        }
        for (int word = first / 64; word <= last / 64; ++word) {
            const int from = std::max(first, word * 64) % 64;
            const int to = std::min(last, word * 64 + 63) % 64;
            const uint64_t mask = (~uint64_t {0} >> (63 - to)) & (~uint64_t {0} << from);
            m_count += std::popcount(mask & ~m_words[static_cast<size_t>(word)]);
            m_words[static_cast<size_t>(word)] |= mask;
        }
        m_highest = std::max(m_highest, static_cast<uint8_t>(last));
    }

    void addAll(std::string_view members)
    {
        for (const char ch : members) {
            addOne(static_cast<uint8_t>(ch));
        }
    }

    int count() const { return m_count; }
    uint8_t highest() const { return m_highest; }
    const std::array<uint64_t, 4> &words() const { return m_words; }

private:
    void addOne(uint8_t ch)
    {
        const uint64_t bit = uint64_t {1} << (ch % 64);
        uint64_t &word = m_words[ch / 64];
        if ((word & bit) != 0) {
            return;
        }
        word |= bit;
        ++m_count;
        m_highest = std::max(m_highest, ch);
    }

    bool m_foldCase;
    std::array<uint64_t, 4> m_words {};
    int m_count = 0;
    uint8_t m_highest = 0;
};

namespace {

bool isClassEscape(uint8_t ch)
{
    return ch == 'd' || ch == 's' || ch == 'w' || ch == 'D' || ch == 'S' || ch == 'W';
}

// The Windows-1251 letter ranges of the r modifier: each also holds its letter IO.
constexpr int kSmallFirst = 224;
constexpr int kSmallLast = 255;
constexpr int kSmallIo = 184;
constexpr int kCapitalFirst = 192;
constexpr int kCapitalLast = 223;
constexpr int kCapitalIo = 168;

} // namespace

// After '[': the members up to ']'; a TinySet(Not) of up to 3 members, else a FullSet.
void Compiler::parseClass()
{
    const bool negated = cur() == '^';
    if (negated) {
        ++m_pos;
    }
    const int node = addNode(static_cast<uint8_t>(negated ? Op::TinySetNot : Op::TinySet));
    ClassMembers members(has(kModI));
    for (bool first = true;; first = false) {
        const uint8_t ch = cur();
        if (ch == 0) {
            fail(ErrorCode::UnclosedClass);
        }
        if (ch == ']' && !first) {
            ++m_pos;
            break;
        }
        ++m_pos;
        uint8_t start = ch;
        if (ch == '\\') {
            const uint8_t escaped = cur();
            if (escaped == 0) {
                fail(ErrorCode::ClassTrailingBackslash);
            }
            ++m_pos;
            if (escaped == 'd') {
                members.addRange('0', '9');
                continue;
            }
            if (escaped == 's' || escaped == 'w') {
                members.addAll(escaped == 's' ? kSpaceCharacters : kWordCharacters);
                continue;
            }
            start = unescapeChar(escaped);
        }
        members.add(start);
        const uint8_t afterDash = charAt(m_pos + 1);
        if (cur() != '-' || afterDash == ']' || afterDash == 0) {
            continue;
        }
        if (afterDash == '\\' && isClassEscape(charAt(m_pos + 2))) {
            continue; // the '-' is a member, read on the next round
        }
        ++m_pos;
        uint8_t last = cur();
        ++m_pos;
        if (last == '\\') {
            const uint8_t escaped = cur();
            if (escaped == 0) {
                fail(ErrorCode::ClassTrailingBackslash);
            }
            ++m_pos;
            last = unescapeChar(escaped);
        }
        const bool cyrillic = has(kModR);
        if (cyrillic && start == kSmallFirst && last == kCapitalLast) {
            members.addRange(kCapitalFirst, kSmallLast);
            members.add(kCapitalIo);
            members.add(kSmallIo);
        } else if (last < start) {
            fail(ErrorCode::ReversedRange);
        } else {
            members.addRange(start, last);
            if (cyrillic && start == kSmallFirst && last == kSmallLast) {
                members.add(kSmallIo);
            } else if (cyrillic && start == kCapitalFirst && last == kCapitalLast) {
                members.add(kCapitalIo);
            }
        }
    }
    finishClass(node, members, negated);
}

// \s \S \w \W: a class of one of the fixed character lists, never case folded.
void Compiler::addFixedClass(std::string_view list, bool negated)
{
    const int node = addNode(static_cast<uint8_t>(negated ? Op::TinySetNot : Op::TinySet));
    ClassMembers members(false);
    members.addAll(list);
    finishClass(node, members, negated);
}

// Writes the operand: up to 3 members ascending, padded with the highest; else the node becomes a
// FullSet of the members (of all other characters, zero included, for a negated class).
void Compiler::finishClass(int node, const ClassMembers &members, bool negated)
{
    if (members.count() <= kTinySetSize) {
        if (m_sizing) {
            grow(kTinySetSize);
            return;
        }
        int written = 0;
        for (int word = 0; word < 4; ++word) {
            for (uint64_t bits = members.words()[static_cast<size_t>(word)]; bits != 0; bits &= bits - 1) {
                m_out[m_emit++] = static_cast<uint8_t>(word * 64 + std::countr_zero(bits));
                ++written;
            }
        }
        for (; written < kTinySetSize; ++written) {
            m_out[m_emit++] = members.highest();
        }
        return;
    }
    if (m_sizing) {
        grow(kFullSetSize);
        return;
    }
    m_out[node] = static_cast<uint8_t>(Op::FullSet);
    for (int byte = 0; byte < kFullSetSize; ++byte) {
        const uint64_t word = members.words()[static_cast<size_t>(byte / 8)];
        const auto bits = static_cast<uint8_t>(word >> (byte % 8 * 8));
        m_out[m_emit++] = negated ? static_cast<uint8_t>(~bits) : bits;
    }
}

} // namespace regex
