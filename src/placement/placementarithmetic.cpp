// Placement arithmetic: integer, truncating toward zero.
#include "placementarithmetic.h"

namespace {

enum Alignment { Near = 0, Center = 1, Far = 2 };

// The products stay far inside 32 bits for values within their unit's limits; 64 bits keep a hand-edited
// value from overflowing.
int inPixels(int value, bool isPixels, int referencePx)
{
    return isPixels ? value : static_cast<int>(qint64(value) * referencePx / 100);
}

// The window's near edge, relative to the reference's near edge.
int aligned(int alignment, int offset, int size, int referencePx)
{
    switch (alignment) {
    case Center:
        return static_cast<int>((qint64(referencePx) - offset - size) / 2);
    case Far:
        return static_cast<int>(qint64(referencePx) - size - offset);
    default:
        return offset;
    }
}

} // namespace

PlacementRect computePlacementRect(const PlacementValues &values, const QRect &reference)
{
    const int refW = reference.width();
    const int refH = reference.height();
    PlacementRect rect;
    rect.width = inPixels(values.widthValue, values.widthPx, refW);
    rect.height = inPixels(values.heightValue, values.heightPx, refH);
    const int horzOffset = inPixels(values.horzValue, values.horzPx, refW);
    const int vertOffset = inPixels(values.vertValue, values.vertPx, refH);
    rect.left = reference.left() + aligned(values.horzIndex, horzOffset, rect.width, refW);
    rect.top = reference.top() + aligned(values.vertIndex, vertOffset, rect.height, refH);
    return rect;
}
