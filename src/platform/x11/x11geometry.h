// Geometry of placing a top-level window on X11: its outer rectangle from the client window's geometry, the
// size it can take (ICCCM size hints), and the request that puts its outer rectangle at a target, with the
// reference point of the window's gravity (ICCCM 4.1.2.3). Pure arithmetic, no X connection.
#pragma once

#include "x11properties.h"

#include <QRect>

#include <cstdint>

namespace platform::x11 {

// X sizes are CARD16 and positions INT16, and window managers add frames to both: a client is kept within these
// limits so that its frame stays within them too.
constexpr int kMaxClientSizePx = 32767 - 2 * kMaxExtentPx;
constexpr int kCoordinateLimitPx = 32767 - 2 * kMaxExtentPx;
// X window gravities (core protocol encoding).
constexpr uint32_t kNorthWestGravity = 1;
constexpr uint32_t kStaticGravity = 10;

// What lies between a client window's inside and its outer rectangle: the client's own border, the window
// manager's frame (_NET_FRAME_EXTENTS; none without a reparenting window manager), less the invisible margin of a
// client-side decoration (_GTK_FRAME_EXTENTS), which is not part of the outer rectangle.
struct Decoration
{
    Extents frame;
    Extents clientSide;
    int borderWidth = 0; // at most kMaxExtentPx
    // The window manager publishes no _NET_FRAME_EXTENTS for the window: `frame` is what lies between the client
    // and its top-level ancestor, read at one moment, which may fall between the window manager's resizing of the
    // frame and of the client.
    bool frameFromTree = false;

    bool operator==(const Decoration &) const = default;
};

// The outer rectangle of a client whose inside is `client` (root coordinates, border excluded).
QRect outerRect(const QRect &client, const Decoration &decoration);

// The client size (border excluded) a window takes when asked for `requested`: what window managers do with
// ICCCM size hints. The maximum applies first, then the minimum, then the increments counted from the base size
// (each of base and minimum standing in for the other when only one is given), then the aspect range; never below
// 1 pixel or above kMaxClientSizePx. Window managers keep an aspect in different ways (openbox and KWin change the
// height, growing it too); here the side that is too long for the other is shortened, so that the window stays
// within the size asked for, and the size keeps the aspect as window managers count it, so that they give it as it
// is when it is asked for in turn.
QSize constrainedClientSize(const SizeHints &hints, QSize requested);
// Whether a window with an aspect range that was asked for the client size `expected` (as constrainedClientSize
// gives it) and has `client` has taken it as window managers that round their own way give it: each side at most
// a pixel off, keeping the range to a pixel. False for a window without an aspect range.
bool withinAspectRounding(const SizeHints &hints, QSize client, QSize expected);

// The outer rectangle a window ends with when asked for `target`: the size it can take, placed at the `anchor`
// point of `target` (see anchoredRect).
QRect expectedOuterRect(
    const QRect &target, const SizeHints &hints, const Decoration &decoration, Qt::Alignment anchor);

// A rectangle of `size` that keeps the `anchor` point of `target`: its left edge, right edge or horizontal centre
// (half the difference, truncated toward zero), and likewise vertically; the corner kept within kCoordinateLimitPx.
QRect anchoredRect(const QRect &target, QSize size, Qt::Alignment anchor);

// A move-and-resize request for the client (_NET_MOVERESIZE_WINDOW, or ConfigureWindow): the position of the
// reference point of `gravity` as if the window had no frame, and the client size.
struct ClientRequest
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const ClientRequest &) const = default;
};
// The request that puts the window's outer rectangle at `outer`, whose size the window can take (see
// expectedOuterRect).
ClientRequest clientRequestFor(const QRect &outer, const Decoration &decoration, uint32_t gravity);

} // namespace platform::x11
