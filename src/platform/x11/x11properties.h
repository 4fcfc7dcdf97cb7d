// Decoding of the window properties the X11 backend reads: titles, WM_STATE, WM_NORMAL_HINTS, frame extents,
// lists of atoms or windows, and the restore record Framewright keeps on windows it maximized. Pure functions
// over a property's bytes, so that they can be unit-tested and fuzzed without an X server.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace platform::x11 {

// A property's value as GetProperty returns it. Format-32 items are in the client's byte order, 4 bytes each
// (xcb unpacks them so); format-16 items 2 bytes each. `type` is 0 (None) when the window has no such property.
struct PropertyValue
{
    uint32_t type = 0;
    uint8_t format = 0;
    std::span<const uint8_t> bytes;
    bool truncated = false; // the property is longer than the request's budget; `bytes` is its beginning

    bool present() const { return type != 0; }
};

// The format-32 items of a property of `type`, at most `maxCount` of them; empty for an absent property, another
// type or format, or a length that is not a whole number of items.
std::vector<uint32_t> values32(const PropertyValue &value, uint32_t type, size_t maxCount);

// The first format-32 item of a property of `type`.
std::optional<uint32_t> value32(const PropertyValue &value, uint32_t type);

// Titles. Each takes the property's bytes and gives valid UTF-8 of at most `maxBytes` bytes, cut after the last
// whole character that fits. The text ends at the first NUL byte (ICCCM text lists separate items with NUL; the
// title is the first). From UTF-8, every maximal ill-formed subsequence becomes U+FFFD, so nothing invalid
// reaches the caller and every input byte gives at least one output byte: reading `maxBytes + 1` bytes of a longer
// property is always enough to produce the same cut text as the whole property would.
std::string titleFromUtf8(std::span<const uint8_t> bytes, size_t maxBytes);
// STRING (ICCCM): ISO 8859-1, each byte one character.
std::string titleFromLatin1(std::span<const uint8_t> bytes, size_t maxBytes);

// ICCCM WM_STATE values.
enum class WmState : uint32_t { Withdrawn = 0, Normal = 1, Iconic = 3 };
// The state of a WM_STATE property (type WM_STATE, format 32, state then icon window); empty when absent or
// malformed, or for a state ICCCM does not define.
std::optional<WmState> parseWmState(const PropertyValue &value, uint32_t wmStateType);

// A ratio of width to height, both positive (a WM_NORMAL_HINTS aspect: its numerator and denominator).
struct AspectRatio
{
    int width = 1;
    int height = 1;

    bool operator==(const AspectRatio &) const = default;
};

// WM_NORMAL_HINTS, as far as placing a window needs it. Values that cannot be meant (negative sizes,
// increments below 1, an unknown gravity, an aspect with a side of 0 or below, a minimum aspect above the maximum)
// are dropped, so users of these hints need no checks of their own.
struct SizeHints
{
    std::optional<int> minWidth, minHeight;
    std::optional<int> maxWidth, maxHeight;
    std::optional<int> baseWidth, baseHeight;
    int widthIncrement = 1;
    int heightIncrement = 1;
    uint32_t gravity = 1; // X window gravity, NorthWest (1) to Static (10)
    // The range of width to height that the size less the base size keeps (ICCCM 4.1.2.3); either may be absent.
    std::optional<AspectRatio> minAspect, maxAspect;
};
// Parses a property of type WM_SIZE_HINTS (format 32). Hints from before ICCCM 1.0 (15 items, no base size or
// gravity) are accepted; an absent or malformed property gives the defaults.
SizeHints parseSizeHints(const PropertyValue &value, uint32_t sizeHintsType);

// Widths of the four sides of a frame (_NET_FRAME_EXTENTS) or of a client-side decoration's invisible margin
// (_GTK_FRAME_EXTENTS), in pixels.
struct Extents
{
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;

    bool operator==(const Extents &) const = default;
};
// Both properties are CARDINAL[4]: left, right, top, bottom. Empty when absent or malformed or when a side is
// beyond kMaxExtentPx (no real frame is that wide; a larger value would only overflow the arithmetic).
std::optional<Extents> parseExtents(const PropertyValue &value, uint32_t cardinalType);
constexpr int kMaxExtentPx = 4096;

// Whether a window asks its window manager for a frame: false only when its _MOTIF_WM_HINTS (of that type, format
// 32: flags, functions, decorations, ...) has the decorations flag (bit 1) and no decoration (client-side
// decorations and borderless windows ask so).
bool wantsDecorations(const PropertyValue &motifHints, uint32_t motifHintsType);

// The record Framewright leaves on a window it maximized (property _FRAMEWRIGHT_RESTORE_RECT, type INTEGER,
// format 32, eight items): the outer rectangle it set before maximizing (x, y, width, height) and the outer
// rectangle the window had once maximized. The second one tells a stale record apart: a window maximized again
// by other means somewhere else no longer has it.
struct RestoreRecord
{
    int32_t restoreX = 0, restoreY = 0, restoreWidth = 0, restoreHeight = 0;
    int32_t maximizedX = 0, maximizedY = 0, maximizedWidth = 0, maximizedHeight = 0;

    bool operator==(const RestoreRecord &) const = default;
};
constexpr size_t kRestoreRecordItems = 8;
std::optional<RestoreRecord> parseRestoreRecord(const PropertyValue &value, uint32_t integerType);
// The eight items in the order parseRestoreRecord reads them.
std::vector<uint32_t> restoreRecordItems(const RestoreRecord &record);

} // namespace platform::x11
