// The adaptive Huffman model shared by the LZHUF decoder and encoder, and the position code tables
// built from their rule.
#include "lzhmodel.h"

#include <algorithm>

namespace skinformat {

LzhModel::LzhModel()
{
    for (int i = 0; i < kSymbolCount; ++i) {
        m_frequency[i] = 1;
        m_child[i] = static_cast<uint16_t>(i + kTreeSize);
        m_parent[i + kTreeSize] = static_cast<uint16_t>(i);
    }
    for (int i = 0, j = kSymbolCount; j <= kRoot; i += 2, ++j) {
        m_frequency[j] = static_cast<uint16_t>(m_frequency[i] + m_frequency[i + 1]);
        m_child[j] = static_cast<uint16_t>(i);
        m_parent[i] = m_parent[i + 1] = static_cast<uint16_t>(j);
    }
    m_frequency[kTreeSize] = 0xFFFF;
    m_parent[kRoot] = 0;
}

void LzhModel::update(int symbol)
{
    if (m_frequency[kRoot] == kMaxFrequency) {
        rebuild();
    }
    int node = m_parent[symbol + kTreeSize];
    do {
        const uint16_t k = ++m_frequency[node];
        // Keep the order: move the node past every following node whose frequency is now below k.
        // The sentinel at kTreeSize stops the search.
        int last = node + 1;
        if (k > m_frequency[last]) {
            while (k > m_frequency[++last]) { }
            --last;
            m_frequency[node] = m_frequency[last];
            m_frequency[last] = k;

            const int moved = m_child[node];
            m_parent[moved] = static_cast<uint16_t>(last);
            if (moved < kTreeSize) {
                m_parent[moved + 1] = static_cast<uint16_t>(last);
            }
            const int displaced = m_child[last];
            m_child[last] = static_cast<uint16_t>(moved);
            m_parent[displaced] = static_cast<uint16_t>(node);
            if (displaced < kTreeSize) {
                m_parent[displaced + 1] = static_cast<uint16_t>(node);
            }
            m_child[node] = static_cast<uint16_t>(displaced);
            node = last;
        }
        node = m_parent[node];
    } while (node != 0);
}

void LzhModel::rebuild()
{
    // Leaves to the front, in their current order, with halved frequencies (rounded up).
    int leaves = 0;
    for (int i = 0; i < kTreeSize; ++i) {
        if (m_child[i] >= kTreeSize) {
            m_frequency[leaves] = static_cast<uint16_t>((m_frequency[i] + 1) / 2);
            m_child[leaves] = m_child[i];
            ++leaves;
        }
    }
    // Internal nodes pairwise from the front, each inserted at its place in the frequency order.
    for (int i = 0, j = kSymbolCount; j < kTreeSize; i += 2, ++j) {
        const uint16_t f = static_cast<uint16_t>(m_frequency[i] + m_frequency[i + 1]);
        int k = j - 1;
        while (f < m_frequency[k]) {
            --k;
        }
        ++k;
        std::copy_backward(m_frequency.begin() + k, m_frequency.begin() + j, m_frequency.begin() + j + 1);
        m_frequency[k] = f;
        std::copy_backward(m_child.begin() + k, m_child.begin() + j, m_child.begin() + j + 1);
        m_child[k] = static_cast<uint16_t>(i);
    }
    for (int i = 0; i < kTreeSize; ++i) {
        const int k = m_child[i];
        m_parent[k] = static_cast<uint16_t>(i);
        if (k < kTreeSize) {
            m_parent[k + 1] = static_cast<uint16_t>(i);
        }
    }
}

namespace {

PositionTables buildPositionTables()
{
    struct Group
    {
        int upperCount;
        int codeLength;
    };
    // Each upper value of a group covers 2^(8 - codeLength) leading byte values.
    constexpr Group kGroups[] = {{1, 3}, {3, 4}, {8, 5}, {12, 6}, {24, 7}, {16, 8}};

    PositionTables tables {};
    int upper = 0;
    int byte = 0;
    for (const Group &group : kGroups) {
        const int span = 1 << (8 - group.codeLength);
        for (int n = 0; n < group.upperCount; ++n, ++upper) {
            tables.codeOfUpper[upper] = static_cast<uint8_t>(byte);
            tables.lengthOfUpper[upper] = static_cast<uint8_t>(group.codeLength);
            for (int b = 0; b < span; ++b, ++byte) {
                tables.upperOfByte[byte] = static_cast<uint8_t>(upper);
                tables.lengthOfByte[byte] = static_cast<uint8_t>(group.codeLength);
            }
        }
    }
    return tables;
}

} // namespace

const PositionTables &positionTables()
{
    static const PositionTables tables = buildPositionTables();
    return tables;
}

} // namespace skinformat
