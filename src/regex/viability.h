// Which states of a run can still end in a match: for every node of a program and every position of
// the subject, whether some way through the program reaches End from there when counted loops may
// pass or stop at will, repetitions may take any count up to their maximum and back-references may
// match any text. Every way the matcher can take is such a way, so a state the map rules out fails
// whatever its counters, groups and choices, and the matcher may fail it at once without changing
// any result. Built once per run when the run turns out to be long (see matcher.h). On request the
// map also holds, per viable state, the least position at which such a way reaches End: a match
// from the state ends there or later, so the state needs at least that many more characters.
#pragma once

#include "captures.h"
#include "program.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <utility>
#include <vector>

namespace regex {

class ViabilityMap
{
public:
    // Builds the map of `program` over the `length` bytes at `input`, which a zero byte follows.
    // False, and every state viable, when the map would hold more than `maxBits` bits, or when the
    // program holds a node the matcher stops at with an error (so that no error goes unseen).
    // With `leastEnds`, also the least ends, unless they would hold more than `maxBits` / 8 entries
    // or the subject is longer than 65535 bytes.
    bool build(const Program &program, const uint8_t *input, int length, int64_t maxBits, bool leastEnds);
    // Whether a match can still be reached from `node` at `position` (0 to the length).
    bool viable(int node, int position) const
    {
        if (!m_built || node < 0 || static_cast<size_t>(node) >= m_rowOf.size()) {
            return true;
        }
        const int32_t row = m_rowOf[static_cast<size_t>(node)];
        return row < 0 || bit(row, position);
    }
    // The least position at which a way from `node` at `position` reaches End, for a viable state;
    // `position` where the map has no such figure.
    int leastEnd(int node, int position) const
    {
        if (!m_built || m_endBytes == 0 || node < 0 || static_cast<size_t>(node) >= m_rowOf.size()) {
            return position;
        }
        const int32_t row = m_rowOf[static_cast<size_t>(node)];
        return row < 0 ? position : end(row, position);
    }

private:
    // What a node's way that consumes characters is.
    enum class Way : uint8_t {
        None,      // it consumes nothing
        End,       // the match ends
        Character, // one character (`taken`)
        Literal,   // its literal
        Repeat,    // repetitions of `taken`, at most `max`
        GroupText, // a back-reference (`taken`) or repetitions of one: any run of the characters its
                   // group can take
        LineStart, // nothing, at the start of the text only
        LineEnd,   // nothing, at the end of the text only
    };
    struct Node
    {
        int32_t offset;
        Op op;
        Way way;
        int32_t next;  // row of the next node, -1 for none
        int32_t other; // row of a Branch's alternative or next Branch, a Loop's body; -1 for none
        int32_t taken; // the single-character node a Character or Repeat takes
        int32_t max;
        int32_t count; // repetitions: the count possible at the position after the current one
        int32_t reach; // repetitions: the least end from the positions after the current one that a
                       // run of the characters they take reaches, its maximum not applied
    };
    static Way wayOf(const uint8_t *program, int offset, int32_t &taken, int32_t &max);
    void collectGroupCharacters(const Program &program);
    void addCharacters(const uint8_t *program, const Node &node, std::bitset<256> &characters) const;
    bool takesGroupCharacter(const uint8_t *program, int backRef, uint8_t ch) const;
    bool collectNodes(const Program &program);
    bool addNode(const uint8_t *program, int size, int offset, std::vector<int> &pending);
    void linkEdges(const uint8_t *program);
    void markPosition(const uint8_t *program, const uint8_t *input, int position);
    int32_t reachesEnd(const uint8_t *program, Node &node, const uint8_t *input, int position);
    int32_t endAfter(int32_t row, int position) const;
    void spreadBack(const uint8_t *input, int32_t row, int position, int32_t end);
    static bool passes(const Node &node, const uint8_t *input, int position);
    bool bit(int row, int position) const
    {
        const size_t index = static_cast<size_t>(row) * m_words * 64 + static_cast<size_t>(position);
        return (m_bits[index / 64] >> (index % 64)) & 1;
    }
    int end(int row, int position) const
    {
        const size_t index = static_cast<size_t>(row) * m_positions + static_cast<size_t>(position);
        return m_endBytes == 1 ? m_ends[index] : m_ends[2 * index] | m_ends[2 * index + 1] << 8;
    }
    void set(int row, int position, int32_t end);

    bool m_built = false;
    std::vector<int32_t> m_rowOf; // node offset -> row, -1 for no node
    std::vector<Node> m_nodes;
    std::vector<int32_t> m_consumers; // the rows with a way that consumes characters (or End)
    std::array<std::bitset<256>, kGroupCount> m_groupCharacters; // of the groups back-references read
    // The ways that consume nothing, reversed: the rows that reach row r are m_fromRows[m_fromStart[r]
    // .. m_fromStart[r + 1]).
    std::vector<int32_t> m_fromStart;
    std::vector<int32_t> m_fromRows;
    std::vector<int32_t> m_nearest; // per row, the least viable position marked
    std::vector<int32_t> m_pending;
    size_t m_words = 0; // per row
    std::vector<uint64_t> m_bits;
    // The least ends of the viable states, row after row of m_positions entries, little-endian of
    // m_endBytes bytes each (1 while every position fits a byte, else 2; 0 for none kept).
    int m_endBytes = 0;
    size_t m_positions = 0;
    std::vector<uint8_t> m_ends;
    std::vector<std::pair<int32_t, int32_t>> m_seeds; // end, row: the consuming ways open at a position
};

} // namespace regex
