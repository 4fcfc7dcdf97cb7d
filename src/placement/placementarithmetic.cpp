// Placement arithmetic: integer, truncating toward zero.
#include "placementarithmetic.h"

namespace {

// The products stay far inside 32 bits for values within their unit's limits; 64 bits keep a hand-edited
// value from overflowing.
int inPixels(const Measure &measure, int referencePx)
{
    return measure.unit == Unit::Pixels ? measure.value : static_cast<int>(qint64(measure.value) * referencePx / 100);
}

enum class Edge { Near, Center, Far };

// The window's near edge, relative to the reference's near edge.
int aligned(Edge edge, int offset, int size, int referencePx)
{
    switch (edge) {
    case Edge::Center:
        return static_cast<int>((qint64(referencePx) - offset - size) / 2);
    case Edge::Far:
        return static_cast<int>(qint64(referencePx) - size - offset);
    case Edge::Near:
        break;
    }
    return offset;
}

Edge edgeOf(HorzAlignment alignment)
{
    return alignment == HorzAlignment::Center ? Edge::Center
        : alignment == HorzAlignment::Right   ? Edge::Far
                                              : Edge::Near;
}

Edge edgeOf(VertAlignment alignment)
{
    return alignment == VertAlignment::Center ? Edge::Center
        : alignment == VertAlignment::Bottom  ? Edge::Far
                                              : Edge::Near;
}

Qt::Alignment anchorOf(Edge edge, Qt::Alignment nearEdge, Qt::Alignment centre, Qt::Alignment farEdge)
{
    return edge == Edge::Center ? centre : edge == Edge::Far ? farEdge : nearEdge;
}

} // namespace

PlacementRect computePlacementRect(const Placement &placement, const QRect &reference)
{
    const int refW = reference.width();
    const int refH = reference.height();
    PlacementRect rect;
    rect.width = inPixels(placement.width, refW);
    rect.height = inPixels(placement.height, refH);
    const int horzOffset = inPixels(placement.horzOffset, refW);
    const int vertOffset = inPixels(placement.vertOffset, refH);
    rect.left = reference.left() + aligned(edgeOf(placement.horzAlignment), horzOffset, rect.width, refW);
    rect.top = reference.top() + aligned(edgeOf(placement.vertAlignment), vertOffset, rect.height, refH);
    rect.anchor = anchorOf(edgeOf(placement.horzAlignment), Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight)
        | anchorOf(edgeOf(placement.vertAlignment), Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom);
    return rect;
}
