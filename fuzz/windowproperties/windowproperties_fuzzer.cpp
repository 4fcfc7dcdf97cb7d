// Window properties as other programs set them: any bytes as a title in UTF-8 and Latin-1, as WM_NORMAL_HINTS
// (aspect ranges included), _NET_FRAME_EXTENTS / _GTK_FRAME_EXTENTS, WM_STATE, _MOTIF_WM_HINTS and the restore
// record, and the placement arithmetic on what the hints and extents give. Input: one byte for the title budget, one
// for the target's placement, then the property's bytes.
#include "platform/x11/x11geometry.h"
#include "platform/x11/x11properties.h"

#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

using namespace platform::x11;

namespace {

constexpr uint32_t kType = 1; // every property is read as this type

void checkTitle(const std::string &title, size_t maxBytes)
{
    if (title.size() > maxBytes || QString::fromStdString(title).toStdString() != title) {
        __builtin_trap(); // too long, or not valid UTF-8
    }
}

// Aspects as parseSizeHints promises them: both sides positive, the minimum not above the maximum.
void checkAspects(const SizeHints &hints)
{
    for (const auto &aspect : {hints.minAspect, hints.maxAspect}) {
        if (aspect && (aspect->width < 1 || aspect->height < 1)) {
            __builtin_trap();
        }
    }
    const auto &min = hints.minAspect;
    const auto &max = hints.maxAspect;
    if (min && max && int64_t(min->width) * max->height > int64_t(max->width) * min->height) {
        __builtin_trap();
    }
}

// A size that the aspect range shaped keeps that range as the check of a window manager's answer counts it, unless
// a limit beyond the range decided it (the minimum or maximum size, a side at the X limit or down to one pixel, a
// base size the size does not exceed).
void checkKeptAspect(const SizeHints &hints, QSize size)
{
    const bool limited = hints.minWidth || hints.minHeight || hints.maxWidth || hints.maxHeight
        || size.width() <= std::max(1, hints.baseWidth.value_or(0) + 1)
        || size.height() <= std::max(1, hints.baseHeight.value_or(0) + 1) || size.width() >= kMaxClientSizePx
        || size.height() >= kMaxClientSizePx;
    if ((hints.minAspect || hints.maxAspect) && !limited && !withinAspectRounding(hints, size, size)) {
        __builtin_trap();
    }
}

void checkGeometry(const PropertyValue &value, uint8_t placement)
{
    const SizeHints hints = parseSizeHints(value, kType);
    checkAspects(hints);
    Decoration decoration;
    decoration.frame = parseExtents(value, kType).value_or(Extents {});
    decoration.clientSide = decoration.frame;
    decoration.clientSide.left = placement % 7;
    decoration.borderWidth = placement % 3;
    const int span = 40000;
    const QRect target(int(placement) * 157 - span, int(placement) * 131 - span / 2, int(placement) * 199 - span / 4,
        int(placement) * 97 - 600);
    const Qt::Alignment anchors[] = {Qt::AlignLeft | Qt::AlignTop, Qt::AlignCenter, Qt::AlignRight | Qt::AlignBottom};
    const QRect expected = expectedOuterRect(target, hints, decoration, anchors[placement / 7 % 3]);
    const ClientRequest request = clientRequestFor(expected, decoration, hints.gravity);
    if (request.width < 1 || request.height < 1 || request.width > kMaxClientSizePx
        || request.height > kMaxClientSizePx) {
        __builtin_trap(); // a request the X protocol cannot carry
    }
    outerRect(QRect(request.x, request.y, request.width, request.height), decoration);
    checkKeptAspect(hints, QSize(request.width, request.height));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2) {
        return 0;
    }
    const size_t maxBytes = data[0];
    const uint8_t placement = data[1];
    const std::span<const uint8_t> bytes(data + 2, size - 2);
    checkTitle(titleFromUtf8(bytes, maxBytes), maxBytes);
    checkTitle(titleFromLatin1(bytes, maxBytes), maxBytes);

    const PropertyValue value {kType, 32, bytes, false};
    parseWmState(value, kType);
    wantsDecorations(value, kType);
    checkGeometry(value, placement);
    if (const auto record = parseRestoreRecord(value, kType)) {
        const std::vector<uint32_t> items = restoreRecordItems(*record);
        if (items.size() * 4 != bytes.size() || std::memcmp(items.data(), bytes.data(), bytes.size()) != 0) {
            __builtin_trap(); // the record does not read back as written
        }
    }
    return 0;
}
