// The adaptive Huffman model and the position code tables that the LZHUF decoder of skin packages
// and the packer's encoder share, so that both sides update their trees by the same code.
#pragma once

#include <array>
#include <cstdint>

namespace skinformat {

constexpr int kWindowSize = 4096; // ring buffer size; positions wrap with AND kWindowMask
constexpr int kWindowMask = kWindowSize - 1;
constexpr int kLookAhead = 60;                                  // longest match
constexpr int kThreshold = 2;                                   // a match codes lengths kThreshold + 1 .. kLookAhead
constexpr int kInitialWritePosition = kWindowSize - kLookAhead; // r; positions below it start as spaces
constexpr uint8_t kInitialWindowByte = 0x20;
constexpr int kSymbolCount = 256 - kThreshold + kLookAhead; // 256 literals + 58 match lengths = 314
constexpr int kTreeSize = 2 * kSymbolCount - 1;             // 627 nodes
constexpr int kRoot = kTreeSize - 1;
constexpr uint16_t kMaxFrequency = 0x8000; // the root reaching it triggers a rebuild
constexpr int kPositionLowBits = 6;        // low bits of a match position, sent verbatim

// Match length n (3..60) is symbol 253 + n.
constexpr int matchSymbol(int length)
{
    return 256 - kThreshold - 1 + length;
}
constexpr int matchLength(int symbol)
{
    return symbol - (256 - kThreshold - 1);
}

// The adaptive Huffman tree over kSymbolCount symbols. Nodes are kept in ascending frequency order;
// child[n] of an internal node is the first of its two adjacent children, child[n] of a leaf is
// symbol + kTreeSize. parent[] has one entry per node followed by one per leaf (index symbol + kTreeSize).
class LzhModel
{
public:
    LzhModel();

    // Counts one occurrence of symbol, rebuilding first when the root has reached kMaxFrequency.
    void update(int symbol);

    int rootChild() const { return m_child[kRoot]; }
    int child(int node) const { return m_child[node]; }
    int parent(int node) const { return m_parent[node]; }
    int leafNode(int symbol) const { return m_parent[symbol + kTreeSize]; }
    uint16_t frequency(int node) const { return m_frequency[node]; }

private:
    void rebuild();

    std::array<uint16_t, kTreeSize + 1> m_frequency; // [kTreeSize] is a 0xFFFF sentinel
    std::array<uint16_t, kTreeSize + kSymbolCount> m_parent;
    std::array<uint16_t, kTreeSize> m_child;
};

// The upper 6 bits of a match position are Huffman-coded with a fixed code of 3 to 8 bits:
// upper value 0 has 3 bits, 1-3 have 4, 4-11 have 5, 12-23 have 6, 24-47 have 7, 48-63 have 8.
// A code read as the top bits of a byte covers 2^(8 - length) byte values.
struct PositionTables
{
    std::array<uint8_t, 256> upperOfByte;  // decoding: upper 6 bits for a leading byte
    std::array<uint8_t, 256> lengthOfByte; // decoding: code length (3..8) for a leading byte
    std::array<uint8_t, 64> codeOfUpper;   // encoding: the code, left-aligned in a byte
    std::array<uint8_t, 64> lengthOfUpper; // encoding: its length
};

const PositionTables &positionTables();

} // namespace skinformat
