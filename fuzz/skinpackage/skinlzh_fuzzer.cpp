// Fuzz target of the LZH codec. Byte 0 chooses the mode: even, the rest is a bit stream decoded into
// an output size taken from bytes 1-2 (up to 64 KiB, so truncated streams are the rule); odd, the rest
// is data that must come back unchanged through the packer's encoder and TLZH.
#include "lzhencoder.h"
#include "skin/format/lzh.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

constexpr size_t kMaxInputBytes = 64 * 1024;

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3 || size > kMaxInputBytes) {
        return 0;
    }
    if (data[0] % 2 == 0) {
        const size_t outputSize = static_cast<size_t>(data[1]) | static_cast<size_t>(data[2]) << 8;
        check(TLZH::decode(std::span<const uint8_t>(data + 3, size - 3), outputSize).size() == outputSize);
        return 0;
    }
    const std::span<const uint8_t> original(data + 1, size - 1);
    const std::vector<uint8_t> stream = skinpack::lzhCompress(original);
    const std::vector<uint8_t> decoded = TLZH::decode(stream, original.size());
    check(std::equal(decoded.begin(), decoded.end(), original.begin(), original.end()));
    return 0;
}
