// LZHUF encoder for skin packages, the inverse of TLZH: LzhEncoder writes single literals and matches
// (so tests can build any token sequence), lzhCompress() finds matches itself.
#pragma once

#include "skin/format/lzhmodel.h"

#include <cstdint>
#include <span>
#include <vector>

namespace skinpack {

class LzhEncoder
{
public:
    void literal(uint8_t byte);
    // Copies length (3..60) bytes starting distance (1..4096) bytes before the next output byte.
    // Before the output has reached that far back, the source is the decoder's initial ring buffer:
    // spaces for the 4036 bytes before the first output byte.
    void match(int length, int distance);
    // The bit stream, its last byte padded with zero bits. The encoder is spent afterwards.
    std::vector<uint8_t> finish();

private:
    void putSymbol(int symbol);
    void putBits(int count, uint32_t value);

    skinformat::LzhModel m_model;
    std::vector<uint8_t> m_bytes;
    uint32_t m_bits = 0; // pending bits, right-aligned
    int m_bitCount = 0;
};

// Compresses data for TLZH::decode(stream, data.size()), matching against the initial spaces as well.
std::vector<uint8_t> lzhCompress(std::span<const uint8_t> data);

} // namespace skinpack
