// The most characters a walk through a program can take from each node over a given subject: up to
// the end of the current pass through the innermost counted loop around the node (its Loop node) or
// up to End, where no way through a node that takes none of the subject's characters counts. With
// the counters of the active loops this bounds what a state can still consume; the matcher fails a
// state whose bound falls short of the least end the viability map gives for it.
#pragma once

#include "program.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cstdint>
#include <utility>
#include <vector>

namespace regex {

// A width no subject reaches: repetitions without a maximum, loops over groups, back-references.
constexpr int64_t kUnboundedWidth = int64_t {1} << 40;

// Sums and multiples of widths, which stop at kUnboundedWidth.
inline int64_t addWidths(int64_t a, int64_t b)
{
    return std::min(a + b, kUnboundedWidth); // both at most kUnboundedWidth, so the sum fits
}

inline int64_t multiplyWidth(int64_t count, int64_t width)
{
    if (count <= 0) {
        return 0;
    }
    return width >= kUnboundedWidth / count ? kUnboundedWidth : count * width;
}

// Which characters widths count: every node's, or all but those of the rare nodes, whose characters
// stand seldom in the subject and which Capacity::rareLeft counts instead, once for all passes.
enum class Counted : uint8_t { All, Common };

class Capacity
{
public:
    // Computes the widths of the nodes reachable from the start of `program` over the `length` bytes
    // at `input`. True when some counted loop has a maximum and a bounded pass, the only case where
    // the bound can end a state that the viability map keeps and the bitmap of the memo does not
    // already hold.
    bool build(const Program &program, const uint8_t *input, int length);

    // At most the characters a walk from `node` takes until it reaches the Loop node of the innermost
    // counted loop around `node`, or End; a Loop node itself is 0. kUnboundedWidth for other offsets.
    int64_t width(int node, Counted counted = Counted::All) const { return at(widths(counted).node, node); }
    // For the Loop node of a counted loop: the widest pass through its body, and what the walk takes
    // after the loop (until the Loop node of the loop around it, or End).
    int64_t passWidth(int loopNode, Counted counted = Counted::All) const { return at(widths(counted).pass, loopNode); }
    int64_t afterWidth(int loopNode, Counted counted = Counted::All) const
    {
        return at(widths(counted).after, loopNode);
    }
    // Whether some node is rare: a single-character node, a repetition of one or a literal whose
    // characters it takes stand in at most a quarter of the subject (of at most 4 KiB; none on longer
    // ones). Each character takes a position of its own, so however many passes a walk makes, the rare
    // nodes take together at most rareLeft of the characters from a position on (a literal its length
    // at each place it stands).
    bool hasRare() const { return m_hasRare; }
    int64_t rareLeft(int position) const
    {
        return position >= 0 && static_cast<size_t>(position) < m_rareLeft.size()
            ? m_rareLeft[static_cast<size_t>(position)]
            : 0;
    }

private:
    struct Widths
    {
        std::vector<int64_t> node; // by node offset
        std::vector<int64_t> pass;
        std::vector<int64_t> after;
    };
    const Widths &widths(Counted counted) const { return m_widths[counted == Counted::All ? 0 : 1]; }
    Widths &building() { return m_widths[m_building == Counted::All ? 0 : 1]; }
    void computeWidths(Counted counted);
    void noteRare(int node);
    int64_t rareWeight(int node, int position) const;
    bool isRareCandidate(int node) const;

    static int64_t at(const std::vector<int64_t> &widths, int node)
    {
        return node >= 0 && static_cast<size_t>(node) < widths.size() ? widths[static_cast<size_t>(node)]
                                                                      : kUnboundedWidth;
    }
    int loopNodeOf(int loopEntry) const;
    int successors(int node, int *out) const;
    int64_t widthOf(int node);
    int64_t loopWidth(int loopEntry);
    int64_t ownWidth(int node) const;
    bool takesSome(int node) const;

    const uint8_t *m_program = nullptr;
    int m_size = 0;
    const uint8_t *m_input = nullptr;
    int m_length = 0;
    std::array<Widths, 2> m_widths; // Counted::All, Counted::Common
    Counted m_building = Counted::All;
    std::vector<uint8_t> m_rare;     // by node offset
    std::vector<int64_t> m_rareLeft; // by position
    bool m_hasRare = false;
    std::vector<uint8_t> m_state;            // by node offset: not seen, being computed, done
    std::vector<std::pair<int, int>> m_walk; // the nodes being computed, and how many successors each has taken
    std::bitset<256> m_present;              // the characters of the subject
    bool m_bounded = false;
};

} // namespace regex
