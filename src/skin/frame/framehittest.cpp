// Hit testing of the frame ring.
#include "framehittest.h"

#include "framemetrics.h"
#include "titlebarlayout.h"

namespace {

using FrameMetrics::kBorderBandPx;
using FrameMetrics::kResizeCornerPx;

Qt::Edges resizeEdges(QPoint point, QSize size)
{
    const bool nearLeft = point.x() < kBorderBandPx;
    const bool nearRight = point.x() >= size.width() - kBorderBandPx;
    const bool nearTop = point.y() < kBorderBandPx;
    const bool nearBottom = point.y() >= size.height() - kBorderBandPx;
    const bool cornerLeft = point.x() < kResizeCornerPx;
    const bool cornerRight = point.x() >= size.width() - kResizeCornerPx;
    const bool cornerTop = point.y() < kResizeCornerPx;
    const bool cornerBottom = point.y() >= size.height() - kResizeCornerPx;
    Qt::Edges edges;
    if (nearLeft || ((nearTop || nearBottom) && cornerLeft)) {
        edges |= Qt::LeftEdge;
    }
    if (nearRight || ((nearTop || nearBottom) && cornerRight)) {
        edges |= Qt::RightEdge;
    }
    if (nearTop || ((nearLeft || nearRight) && cornerTop)) {
        edges |= Qt::TopEdge;
    }
    if (nearBottom || ((nearLeft || nearRight) && cornerBottom)) {
        edges |= Qt::BottomEdge;
    }
    return edges;
}

} // namespace

FrameHitResult frameHitTest(QPoint point, const FrameFacts &facts, const TitleBarLayout &layout)
{
    if (!facts.outerRect().contains(point) || facts.clientRect().contains(point)) {
        return {};
    }
    if (const int button = layout.buttonAt(point); button >= 0) {
        return {FrameHit::Button, button, {}};
    }
    const Qt::Edges edges = resizeEdges(point, facts.size);
    if (edges) {
        if (facts.resizable && !facts.maximized) {
            return {FrameHit::Resize, -1, edges};
        }
        return {FrameHit::Border, -1, {}};
    }
    return {FrameHit::Caption, -1, {}};
}
