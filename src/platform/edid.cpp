// EDID base block layout (VESA E-EDID 1.3/1.4): an 8-byte header 00 FF FF FF FF FF FF 00, then at offsets
// 54, 72, 90 and 108 four 18-byte descriptors. A display descriptor starts with 00 00 00, its tag at byte 3;
// tag 0xFC holds the monitor name in bytes 5..17, ended by 0x0A and padded with blanks.
#include "edid.h"

#include <array>

namespace platform {

namespace {

constexpr size_t kBaseBlockSize = 128;
constexpr std::array<uint8_t, 8> kHeader = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
constexpr std::array<size_t, 4> kDescriptorOffsets = {54, 72, 90, 108};
constexpr size_t kDescriptorSize = 18;
constexpr uint8_t kMonitorNameTag = 0xFC;
constexpr size_t kTextOffset = 5;

std::string trimmed(const std::string &text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

} // namespace

std::string edidMonitorName(const uint8_t *data, size_t size)
{
    if (data == nullptr || size < kBaseBlockSize) {
        return {};
    }
    for (size_t i = 0; i < kHeader.size(); ++i) {
        if (data[i] != kHeader[i]) {
            return {};
        }
    }
    for (const size_t offset : kDescriptorOffsets) {
        const uint8_t *descriptor = data + offset;
        const bool isDisplayDescriptor = descriptor[0] == 0 && descriptor[1] == 0 && descriptor[2] == 0;
        if (!isDisplayDescriptor || descriptor[3] != kMonitorNameTag) {
            continue;
        }
        std::string name;
        for (size_t i = kTextOffset; i < kDescriptorSize && descriptor[i] != 0x0A; ++i) {
            const uint8_t ch = descriptor[i];
            if (ch >= 0x20 && ch < 0x7F) {
                name.push_back(static_cast<char>(ch));
            }
        }
        return trimmed(name);
    }
    return {};
}

} // namespace platform
