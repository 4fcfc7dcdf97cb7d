// Placement geometry: outer rectangles, size hints applied, gravity reference points.
#include "x11geometry.h"

#include "platform/anchoredrect.h"

#include <algorithm>
#include <cstdlib>

namespace platform::x11 {

namespace {

// Widths between the client's inside and the outer rectangle, per side (negative for a client-side margin wider
// than the frame).
int leftOf(const Decoration &d)
{
    return d.borderWidth + d.frame.left - d.clientSide.left;
}
int rightOf(const Decoration &d)
{
    return d.borderWidth + d.frame.right - d.clientSide.right;
}
int topOf(const Decoration &d)
{
    return d.borderWidth + d.frame.top - d.clientSide.top;
}
int bottomOf(const Decoration &d)
{
    return d.borderWidth + d.frame.bottom - d.clientSide.bottom;
}

int constrain(int64_t requested, std::optional<int> min, std::optional<int> max, std::optional<int> base, int step)
{
    const int64_t baseSize = base ? *base : min.value_or(0);
    const int64_t minSize = min ? *min : base.value_or(0);
    int64_t size = requested;
    if (max) {
        size = std::min<int64_t>(size, *max);
    }
    size = std::max(size, minSize);
    if (step > 1 && size > baseSize) {
        size = baseSize + (size - baseSize) / step * step;
    }
    return static_cast<int>(std::clamp<int64_t>(size, 1, kMaxClientSizePx));
}

// The aspect range applies to the size less the base size; the minimum size does not stand in for a missing base
// (ICCCM 4.1.2.3). A size too wide for the maximum aspect first gets the width its height allows; then one too tall
// for the minimum gets the height its width allows, both rounded down. The height follows the width last, as
// openbox and KWin make it follow, so that they give this size as it is when it is asked for: with a single ratio
// (minimum and maximum the same) few sizes keep it exactly, and those window managers keep the height that width
// gives, rounded down.
QSize keptAspect(const SizeHints &hints, QSize size)
{
    const int64_t baseWidth = hints.baseWidth.value_or(0);
    const int64_t baseHeight = hints.baseHeight.value_or(0);
    int64_t width = size.width() - baseWidth;
    int64_t height = size.height() - baseHeight;
    if (width <= 0 || height <= 0) {
        return size;
    }
    if (const auto &max = hints.maxAspect; max && width * max->height > height * max->width) {
        width = std::max<int64_t>(height * max->width / max->height, 1);
    }
    if (const auto &min = hints.minAspect; min && width * min->height < height * min->width) {
        height = std::max<int64_t>(width * min->height / min->width, 1);
    }
    return QSize(static_cast<int>(std::clamp<int64_t>(width + baseWidth, 1, kMaxClientSizePx)),
        static_cast<int>(std::clamp<int64_t>(height + baseHeight, 1, kMaxClientSizePx)));
}

// Where the reference point of a gravity lies along one axis: 0 at the start (north or west), 1 in the middle,
// 2 at the end; -1 for Static.
int referencePosition(uint32_t gravity, bool horizontal)
{
    if (gravity < kNorthWestGravity || gravity >= kStaticGravity) {
        return gravity == kStaticGravity ? -1 : 0;
    }
    const uint32_t index = gravity - kNorthWestGravity; // NorthWest, North, NorthEast, West, ..., SouthEast
    return static_cast<int>(horizontal ? index % 3 : index / 3);
}

// One axis of clientRequestFor: `outerStart` is where the outer rectangle starts, `frameStart`/`frameEnd` the
// frame's widths on both sides and `marginStart` the client-side margin at the start.
int referencePoint(int outerStart, int frameStart, int frameEnd, int marginStart, int position)
{
    if (position < 0) {
        return outerStart - marginStart + frameStart; // Static: the client's own position
    }
    return outerStart - marginStart + position * (frameStart + frameEnd) / 2;
}

} // namespace

QRect outerRect(const QRect &client, const Decoration &d)
{
    return QRect(client.x() - leftOf(d), client.y() - topOf(d), client.width() + leftOf(d) + rightOf(d),
        client.height() + topOf(d) + bottomOf(d));
}

QSize constrainedClientSize(const SizeHints &hints, QSize requested)
{
    const QSize size(
        constrain(requested.width(), hints.minWidth, hints.maxWidth, hints.baseWidth, hints.widthIncrement),
        constrain(requested.height(), hints.minHeight, hints.maxHeight, hints.baseHeight, hints.heightIncrement));
    return keptAspect(hints, size);
}

bool withinAspectRounding(const SizeHints &hints, QSize client, QSize expected)
{
    if (!hints.minAspect && !hints.maxAspect) {
        return false;
    }
    const QSize difference = client - expected;
    if (std::abs(difference.width()) > 1 || std::abs(difference.height()) > 1) {
        return false;
    }
    const int64_t width = client.width() - int64_t(hints.baseWidth.value_or(0));
    const int64_t height = client.height() - int64_t(hints.baseHeight.value_or(0));
    const auto &min = hints.minAspect;
    const auto &max = hints.maxAspect;
    return (!min || (width + 1) * min->height >= (height - 1) * min->width)
        && (!max || (width - 1) * max->height <= (height + 1) * max->width);
}

QRect expectedOuterRect(const QRect &target, const SizeHints &hints, const Decoration &d, Qt::Alignment anchor)
{
    const int horizontal = leftOf(d) + rightOf(d);
    const int vertical = topOf(d) + bottomOf(d);
    const int64_t requestedWidth = int64_t(target.width()) - horizontal;
    const int64_t requestedHeight = int64_t(target.height()) - vertical;
    const QSize client = constrainedClientSize(hints,
        QSize(static_cast<int>(std::clamp<int64_t>(requestedWidth, 0, kMaxClientSizePx)),
            static_cast<int>(std::clamp<int64_t>(requestedHeight, 0, kMaxClientSizePx))));
    return anchoredRect(target, QSize(client.width() + horizontal, client.height() + vertical), anchor);
}

QRect anchoredRect(const QRect &target, QSize size, Qt::Alignment anchor)
{
    return platform::anchoredRect(target, size, anchor, kCoordinateLimitPx);
}

ClientRequest clientRequestFor(const QRect &outer, const Decoration &d, uint32_t gravity)
{
    ClientRequest request;
    request.x
        = referencePoint(outer.x(), d.frame.left, d.frame.right, d.clientSide.left, referencePosition(gravity, true));
    request.y
        = referencePoint(outer.y(), d.frame.top, d.frame.bottom, d.clientSide.top, referencePosition(gravity, false));
    request.width = std::max(1, outer.width() - leftOf(d) - rightOf(d));
    request.height = std::max(1, outer.height() - topOf(d) - bottomOf(d));
    return request;
}

} // namespace platform::x11
