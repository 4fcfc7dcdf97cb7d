// LZHUF encoding for skin packages: the adaptive Huffman codes of TLZH's model, the fixed position codes,
// and a hash-chain match finder with one step of lazy matching.
#include "lzhencoder.h"

#include <algorithm>
#include <array>

using namespace skinformat;

namespace skinpack {

void LzhEncoder::putBits(int count, uint32_t value)
{
    for (int i = count - 1; i >= 0; --i) {
        m_bits = (m_bits << 1) | ((value >> i) & 1);
        if (++m_bitCount == 8) {
            m_bytes.push_back(static_cast<uint8_t>(m_bits));
            m_bits = 0;
            m_bitCount = 0;
        }
    }
}

void LzhEncoder::putSymbol(int symbol)
{
    // The code is the path from the root to the symbol's leaf: 0 for a node's first child, 1 for the second.
    std::array<uint8_t, kTreeSize> path;
    int depth = 0;
    for (int node = m_model.leafNode(symbol); node != kRoot; node = m_model.parent(node)) {
        path[depth++] = static_cast<uint8_t>(node - m_model.child(m_model.parent(node)));
    }
    while (depth > 0) {
        putBits(1, path[--depth]);
    }
    m_model.update(symbol);
}

void LzhEncoder::literal(uint8_t byte)
{
    putSymbol(byte);
}

void LzhEncoder::match(int length, int distance)
{
    putSymbol(matchSymbol(length));
    const PositionTables &tables = positionTables();
    const int position = distance - 1;
    const int upper = position >> kPositionLowBits;
    const int codeLength = tables.lengthOfUpper[upper];
    putBits(codeLength, tables.codeOfUpper[upper] >> (8 - codeLength));
    putBits(kPositionLowBits, static_cast<uint32_t>(position));
}

std::vector<uint8_t> LzhEncoder::finish()
{
    if (m_bitCount > 0) {
        putBits(8 - m_bitCount, 0);
    }
    return std::move(m_bytes);
}

namespace {

constexpr int kMinMatch = kThreshold + 1;
constexpr int kHashBits = 15;
constexpr int kMaxChain = 256; // candidates tried per position

// Finds the longest earlier match within the window. Positions are indices into text; every position
// must be inserted in order, each after it has been searched from.
class MatchFinder
{
public:
    struct Match
    {
        int length = 0;
        int distance = 0;
    };

    explicit MatchFinder(std::span<const uint8_t> text)
        : m_text(text)
        , m_head(size_t {1} << kHashBits, -1)
        , m_previous(kWindowSize, -1)
    { }

    void insert(int position)
    {
        if (static_cast<size_t>(position) + kMinMatch > m_text.size()) {
            return;
        }
        int &head = m_head[hash(position)];
        m_previous[position & kWindowMask] = head;
        head = position;
    }

    Match find(int position) const
    {
        Match best;
        const int limit = static_cast<int>(std::min<size_t>(kLookAhead, m_text.size() - position));
        if (limit < kMinMatch) {
            return best;
        }
        int candidate = m_head[hash(position)];
        for (int tries = 0; tries < kMaxChain && candidate >= 0 && position - candidate <= kWindowSize; ++tries) {
            int length = 0;
            while (length < limit && m_text[candidate + length] == m_text[position + length]) {
                ++length;
            }
            if (length > best.length) {
                best = {length, position - candidate};
                if (length == limit) {
                    break;
                }
            }
            candidate = m_previous[candidate & kWindowMask];
        }
        if (best.length < kMinMatch) {
            best = {};
        }
        return best;
    }

private:
    size_t hash(int position) const
    {
        const uint32_t bytes = static_cast<uint32_t>(m_text[position]) << 16
            | static_cast<uint32_t>(m_text[position + 1]) << 8 | m_text[position + 2];
        return (bytes * 2654435761u) >> (32 - kHashBits);
    }

    std::span<const uint8_t> m_text;
    std::vector<int> m_head;
    std::vector<int> m_previous; // by position within the window
};

} // namespace

std::vector<uint8_t> lzhCompress(std::span<const uint8_t> data)
{
    // The decoder's ring buffer starts with spaces before the first output byte; matching against them
    // is allowed. The 60 positions after them are not written yet and are never referred to.
    const int start = kInitialWritePosition;
    std::vector<uint8_t> text;
    text.reserve(start + data.size());
    text.resize(start, kInitialWindowByte);
    text.insert(text.end(), data.begin(), data.end());
    const int end = static_cast<int>(text.size());

    MatchFinder finder(text);
    for (int position = 0; position < start; ++position) {
        finder.insert(position);
    }
    LzhEncoder encoder;
    int position = start;
    MatchFinder::Match current = finder.find(position);
    while (position < end) {
        finder.insert(position);
        if (current.length == 0) {
            encoder.literal(text[position]);
            ++position;
            current = finder.find(position);
            continue;
        }
        // Lazy matching: a longer match one byte later is worth a literal now.
        const MatchFinder::Match next = finder.find(position + 1);
        if (next.length > current.length) {
            encoder.literal(text[position]);
            ++position;
            current = next;
            continue;
        }
        encoder.match(current.length, current.distance);
        for (int i = 1; i < current.length; ++i) {
            finder.insert(position + i);
        }
        position += current.length;
        current = finder.find(position);
    }
    return encoder.finish();
}

} // namespace skinpack
