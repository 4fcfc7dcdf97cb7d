// The character-class part of the pattern compiler: `[...]` and the classes of \s \S \w \W.
#include "compiler.h"

#include "patternengine.h"
#include "program.h"

#include <array>

namespace regex {

// The members of a character class while it is read.
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
        for (int ch = first; ch <= last; ++ch) {
            add(static_cast<uint8_t>(ch));
        }
    }

    void addAll(std::string_view members)
    {
        for (const char ch : members) {
            addOne(static_cast<uint8_t>(ch));
        }
    }

    int count() const { return m_count; }
    bool has(int ch) const { return m_members[ch]; }
    uint8_t highest() const { return m_highest; }

private:
    void addOne(uint8_t ch)
    {
        if (m_members[ch]) {
            return;
        }
        m_members[ch] = true;
        ++m_count;
        if (ch > m_highest) {
            m_highest = ch;
        }
    }

    bool m_foldCase;
    std::array<bool, 256> m_members {};
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
            fail(113);
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
                fail(110);
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
                fail(110);
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
            fail(109);
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
        int written = 0;
        for (int ch = 0; ch < 256; ++ch) {
            if (members.has(ch)) {
                addByte(static_cast<uint8_t>(ch));
                ++written;
            }
        }
        for (; written < kTinySetSize; ++written) {
            addByte(members.highest());
        }
        return;
    }
    if (!m_sizing) {
        m_out[node] = static_cast<uint8_t>(Op::FullSet);
    }
    for (int byte = 0; byte < kFullSetSize; ++byte) {
        uint8_t bits = 0;
        for (int bit = 0; bit < 8; ++bit) {
            if (members.has(byte * 8 + bit) != negated) {
                bits = static_cast<uint8_t>(bits | 1 << bit);
            }
        }
        addByte(bits);
    }
}

} // namespace regex
