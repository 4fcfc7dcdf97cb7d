// Fuzz target of the skin package reader: opens arbitrary bytes as a package and, when they are accepted,
// extracts every entry by name and by containment, checking what comes out against the size table.
// Unpacked sizes between kFuzzUnpackedBytes and the reader's own limit are skipped to keep runs fast;
// sizes beyond the limit still go to the reader, which must refuse them.
#include "skin/format/lzh.h"
#include "skin/format/skinreader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

constexpr size_t kMaxInputBytes = 64 * 1024;
constexpr int32_t kFuzzUnpackedBytes = 64 * 1024;

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > kMaxInputBytes) {
        return 0;
    }
    if (size >= 4) {
        const int32_t unpacked = static_cast<int32_t>(
            static_cast<uint32_t>(data[0]) | data[1] << 8 | data[2] << 16 | static_cast<uint32_t>(data[3]) << 24);
        if (unpacked > kFuzzUnpackedBytes && unpacked <= TSkinReader::kMaxUnpackedBytes) {
            return 0;
        }
    }
    TSkinReader reader;
    const bool opened = reader.open(std::span<const uint8_t>(data, size));
    check(opened == (reader.error() == SkinReadError::None));
    check(opened == reader.errorText().empty());
    const auto &names = reader.names();
    const auto &sizes = reader.sizes();
    check(names.size() == sizes.size());
    check(names.size() <= static_cast<size_t>(TSkinReader::kMaxEntries));
    for (size_t i = 0; i < names.size(); ++i) {
        check(TSkinReader::lowerName(names[i]) == names[i]);
        size_t first = 0;
        while (names[first] != names[i]) {
            ++first;
        }
        check(reader.extract(names[i]).size() == static_cast<size_t>(sizes[first]));
        std::string found;
        reader.extractFirstContaining(names[i], &found);
        check(found.find(names[i]) != std::string::npos);
    }
    std::string description;
    reader.extractFirstContaining(".ini", &description);
    return 0;
}
