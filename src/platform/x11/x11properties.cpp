// Decoding of window properties: bounds-checked, every malformed value rejected as a whole.
#include "x11properties.h"

#include <algorithm>
#include <cstring>

namespace platform::x11 {

namespace {

// WM_SIZE_HINTS flags (ICCCM 4.1.2.3) and item positions.
constexpr uint32_t kMinSizeFlag = 1u << 4;
constexpr uint32_t kMaxSizeFlag = 1u << 5;
constexpr uint32_t kResizeIncFlag = 1u << 6;
constexpr uint32_t kAspectFlag = 1u << 7;
constexpr uint32_t kBaseSizeFlag = 1u << 8;
constexpr uint32_t kWinGravityFlag = 1u << 9;
constexpr size_t kOldSizeHintsItems = 15; // before ICCCM 1.0: no base size, no gravity
constexpr size_t kSizeHintsItems = 18;
constexpr uint32_t kNorthWestGravity = 1;
constexpr uint32_t kStaticGravity = 10;
// X window sizes are CARD16, so a larger hint means nothing more than this one.
constexpr int kMaxHintPx = 65535;

constexpr char kReplacement[] = "\xEF\xBF\xBD"; // U+FFFD

// Length of the well-formed UTF-8 sequence at the start of `bytes`, or of the maximal ill-formed subpart there
// (negated). Ranges from Unicode's table of well-formed byte sequences.
int sequenceLength(std::span<const uint8_t> bytes)
{
    const uint8_t lead = bytes[0];
    if (lead < 0x80) {
        return 1;
    }
    int length = 0;
    uint8_t secondLow = 0x80;
    uint8_t secondHigh = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        secondLow = lead == 0xE0 ? 0xA0 : 0x80;
        secondHigh = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        secondLow = lead == 0xF0 ? 0x90 : 0x80;
        secondHigh = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return -1;
    }
    int taken = 1;
    while (taken < length && static_cast<size_t>(taken) < bytes.size()) {
        const uint8_t low = taken == 1 ? secondLow : 0x80;
        const uint8_t high = taken == 1 ? secondHigh : 0xBF;
        if (bytes[taken] < low || bytes[taken] > high) {
            break;
        }
        ++taken;
    }
    return taken == length ? length : -taken;
}

int32_t clampHint(uint32_t item)
{
    return std::min(static_cast<int32_t>(item), kMaxHintPx);
}

std::optional<AspectRatio> aspectAt(const std::vector<uint32_t> &items, size_t index)
{
    const int32_t width = clampHint(items[index]);
    const int32_t height = clampHint(items[index + 1]);
    return width > 0 && height > 0 ? std::optional<AspectRatio>({width, height}) : std::nullopt;
}

// Items 11 to 14: the minimum aspect's numerator and denominator, then the maximum's.
void readAspects(const std::vector<uint32_t> &items, SizeHints &hints)
{
    hints.minAspect = aspectAt(items, 11);
    hints.maxAspect = aspectAt(items, 13);
    const auto &min = hints.minAspect;
    const auto &max = hints.maxAspect;
    if (min && max && int64_t(min->width) * max->height > int64_t(max->width) * min->height) {
        hints.minAspect.reset(); // a range no size lies in
        hints.maxAspect.reset();
    }
}

} // namespace

std::vector<uint32_t> values32(const PropertyValue &value, uint32_t type, size_t maxCount)
{
    if (!value.present() || value.type != type || value.format != 32 || value.bytes.size() % 4 != 0) {
        return {};
    }
    std::vector<uint32_t> items(std::min(value.bytes.size() / 4, maxCount));
    if (!items.empty()) {
        std::memcpy(items.data(), value.bytes.data(), items.size() * 4);
    }
    return items;
}

std::optional<uint32_t> value32(const PropertyValue &value, uint32_t type)
{
    const std::vector<uint32_t> items = values32(value, type, 1);
    return items.empty() ? std::nullopt : std::optional<uint32_t>(items[0]);
}

std::string titleFromUtf8(std::span<const uint8_t> bytes, size_t maxBytes)
{
    std::string title;
    size_t pos = 0;
    while (pos < bytes.size() && bytes[pos] != 0) {
        const int length = sequenceLength(bytes.subspan(pos));
        const size_t taken = static_cast<size_t>(length < 0 ? -length : length);
        const size_t produced = length < 0 ? sizeof kReplacement - 1 : taken;
        if (title.size() + produced > maxBytes) {
            break;
        }
        if (length < 0) {
            title.append(kReplacement);
        } else {
            title.append(reinterpret_cast<const char *>(bytes.data() + pos), taken);
        }
        pos += taken;
    }
    return title;
}

std::string titleFromLatin1(std::span<const uint8_t> bytes, size_t maxBytes)
{
    std::string title;
    for (const uint8_t byte : bytes) {
        const size_t produced = byte < 0x80 ? 1 : 2;
        if (byte == 0 || title.size() + produced > maxBytes) {
            break;
        }
        if (byte < 0x80) {
            title.push_back(static_cast<char>(byte));
        } else {
            title.push_back(static_cast<char>(0xC0 | (byte >> 6)));
            title.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        }
    }
    return title;
}

std::optional<WmState> parseWmState(const PropertyValue &value, uint32_t wmStateType)
{
    const std::optional<uint32_t> state = value32(value, wmStateType);
    if (!state || (*state != 0 && *state != 1 && *state != 3)) {
        return std::nullopt;
    }
    return static_cast<WmState>(*state);
}

SizeHints parseSizeHints(const PropertyValue &value, uint32_t sizeHintsType)
{
    SizeHints hints;
    const std::vector<uint32_t> items = values32(value, sizeHintsType, kSizeHintsItems);
    if (items.size() < kOldSizeHintsItems) {
        return hints;
    }
    const uint32_t flags = items[0];
    const auto nonNegative = [&items](size_t index) {
        const int32_t v = clampHint(items[index]);
        return v >= 0 ? std::optional<int>(v) : std::nullopt;
    };
    if (flags & kMinSizeFlag) {
        hints.minWidth = nonNegative(5);
        hints.minHeight = nonNegative(6);
    }
    if (flags & kMaxSizeFlag) {
        const auto positive = [&items](size_t index) {
            const int32_t v = clampHint(items[index]);
            return v > 0 ? std::optional<int>(v) : std::nullopt;
        };
        hints.maxWidth = positive(7);
        hints.maxHeight = positive(8);
    }
    if (flags & kResizeIncFlag) {
        hints.widthIncrement = std::max(clampHint(items[9]), 1);
        hints.heightIncrement = std::max(clampHint(items[10]), 1);
    }
    if (flags & kAspectFlag) {
        readAspects(items, hints);
    }
    if (items.size() == kSizeHintsItems && (flags & kBaseSizeFlag)) {
        hints.baseWidth = nonNegative(15);
        hints.baseHeight = nonNegative(16);
    }
    if (items.size() == kSizeHintsItems && (flags & kWinGravityFlag) && items[17] >= kNorthWestGravity
        && items[17] <= kStaticGravity) {
        hints.gravity = items[17];
    }
    return hints;
}

std::optional<Extents> parseExtents(const PropertyValue &value, uint32_t cardinalType)
{
    const std::vector<uint32_t> items = values32(value, cardinalType, 5);
    if (items.size() != 4) {
        return std::nullopt;
    }
    for (const uint32_t item : items) {
        if (item > static_cast<uint32_t>(kMaxExtentPx)) {
            return std::nullopt;
        }
    }
    return Extents {
        static_cast<int>(items[0]), static_cast<int>(items[1]), static_cast<int>(items[2]), static_cast<int>(items[3])};
}

bool wantsDecorations(const PropertyValue &motifHints, uint32_t motifHintsType)
{
    constexpr uint32_t kDecorationsFlag = 1u << 1;
    const std::vector<uint32_t> items = values32(motifHints, motifHintsType, 3);
    return items.size() < 3 || (items[0] & kDecorationsFlag) == 0 || items[2] != 0;
}

std::optional<RestoreRecord> parseRestoreRecord(const PropertyValue &value, uint32_t integerType)
{
    const std::vector<uint32_t> items = values32(value, integerType, kRestoreRecordItems + 1);
    if (items.size() != kRestoreRecordItems) {
        return std::nullopt;
    }
    int32_t v[kRestoreRecordItems];
    std::transform(items.begin(), items.end(), v, [](uint32_t item) { return static_cast<int32_t>(item); });
    const RestoreRecord record {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]};
    if (record.restoreWidth <= 0 || record.restoreHeight <= 0 || record.maximizedWidth <= 0
        || record.maximizedHeight <= 0) {
        return std::nullopt;
    }
    return record;
}

std::vector<uint32_t> restoreRecordItems(const RestoreRecord &r)
{
    const int32_t v[] = {r.restoreX, r.restoreY, r.restoreWidth, r.restoreHeight, r.maximizedX, r.maximizedY,
        r.maximizedWidth, r.maximizedHeight};
    std::vector<uint32_t> items;
    for (const int32_t item : v) {
        items.push_back(static_cast<uint32_t>(item));
    }
    return items;
}

} // namespace platform::x11
