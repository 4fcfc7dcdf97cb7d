// TLZH: LZHUF decoding of skin packages into exactly the requested number of bytes.
// The ring buffer of the format is kept as a prefix of the output: the 4096 bytes before output byte n
// are exactly what a 4096-byte ring holds when byte n is written at position (4036 + n) AND 0xFFF.
#include "lzh.h"

#include "lzhmodel.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <string>

using namespace skinformat;

namespace {

// Bits most significant first. A byte past the end of the stream reads as eight zero bits, so the
// reader never fails and never reads out of bounds.
class BitReader
{
public:
    explicit BitReader(std::span<const uint8_t> bytes)
        : m_next(bytes.data())
        , m_end(bytes.data() + bytes.size())
    { }

    int bit()
    {
        if (m_count == 0) {
            refill();
        }
        const int value = static_cast<int>(m_buffer >> 63);
        m_buffer <<= 1;
        --m_count;
        return value;
    }

    int bits(int count)
    {
        if (m_count < count) {
            refill();
        }
        const int value = static_cast<int>(m_buffer >> (64 - count));
        m_buffer <<= count;
        m_count -= count;
        return value;
    }

private:
    // Tops the buffer up to at least 57 valid bits.
    void refill()
    {
        while (m_count <= 56) {
            const uint64_t byte = m_next < m_end ? *m_next++ : 0;
            m_buffer |= byte << (56 - m_count);
            m_count += 8;
        }
    }

    const uint8_t *m_next;
    const uint8_t *m_end;
    uint64_t m_buffer = 0; // valid bits left-aligned
    int m_count = 0;
};

int decodeSymbol(BitReader &input, LzhModel &model)
{
    int node = model.rootChild();
    while (node < kTreeSize) {
        node = model.child(node + input.bit());
    }
    const int symbol = node - kTreeSize;
    model.update(symbol);
    return symbol;
}

// Distance back from the next output byte, minus one (0..4095).
int decodePosition(BitReader &input, const PositionTables &tables)
{
    int code = input.bits(8);
    const int upper = tables.upperOfByte[code];
    const int extraBits = tables.lengthOfByte[code] - 2;
    code = (code << extraBits) | input.bits(extraBits);
    return (upper << kPositionLowBits) | (code & ((1 << kPositionLowBits) - 1));
}

} // namespace

std::vector<uint8_t> TLZH::decode(std::span<const uint8_t> bitStream, size_t outputSize)
{
    if (outputSize > std::numeric_limits<size_t>::max() - kWindowSize) {
        throw ElzhException(std::string(kLzhNoMemoryMessage));
    }
    std::unique_ptr<LzhModel> model;
    std::vector<uint8_t> window;
    try {
        model = std::make_unique<LzhModel>();
        window.resize(kWindowSize + outputSize);
    } catch (const std::bad_alloc &) {
        throw ElzhException(std::string(kLzhNoMemoryMessage));
    }
    // window[i] stands for ring position (i - 60) AND 0xFFF: positions 4036..4095 are not written before
    // the first 60 output bytes and read as zero, positions 0..4035 start as spaces.
    std::fill(window.begin() + (kWindowSize - kInitialWritePosition), window.begin() + kWindowSize, kInitialWindowByte);

    const PositionTables &tables = positionTables();
    BitReader input(bitStream);
    uint8_t *const out = window.data() + kWindowSize;
    size_t written = 0;
    while (written < outputSize) {
        const int symbol = decodeSymbol(input, *model);
        if (symbol < 256) {
            out[written++] = static_cast<uint8_t>(symbol);
            continue;
        }
        const size_t distance = static_cast<size_t>(decodePosition(input, tables)) + 1; // 1..4096
        const size_t length = std::min(static_cast<size_t>(matchLength(symbol)), outputSize - written);
        const uint8_t *source = out + written - distance; // at worst window.data(): distance <= kWindowSize
        uint8_t *target = out + written;
        if (distance >= length) {
            std::memcpy(target, source, length);
        } else {
            // Overlapping: later bytes repeat the ones this copy has just written.
            for (size_t i = 0; i < length; ++i) {
                target[i] = source[i];
            }
        }
        written += length;
    }
    window.erase(window.begin(), window.begin() + kWindowSize);
    return window;
}
