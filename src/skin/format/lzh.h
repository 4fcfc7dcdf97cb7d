// TLZH: the decompressor of skin packages (LZSS with adaptive Huffman coding, the LZHUF scheme).
// decode() turns a bit stream into exactly the requested number of bytes; bytes missing at the end of
// the stream read as zero bits, so a truncated stream still yields that many (meaningless) bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

inline constexpr std::string_view kLzhNoMemoryMessage = "LZH : Cannot get memory for dictionary tables";

class ElzhException : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class TLZH
{
public:
    // Returns exactly outputSize bytes. The caller bounds outputSize (TSkinReader caps it with
    // kMaxUnpackedBytes); when the tables or the output cannot be allocated, throws ElzhException
    // with kLzhNoMemoryMessage.
    static std::vector<uint8_t> decode(std::span<const uint8_t> bitStream, size_t outputSize);
};
