// Window shape from the frame edges' magenta pixels.
#include "framemask.h"

#include <QPainter>
#include <vector>

#include "framemetrics.h"
#include "framepainter.h"
#include "skin/model/skinobjects.h"

namespace {

using FrameMetrics::kMinShapedThicknessPx;

bool isTransparent(const std::optional<TDataSkinBorder> &edge)
{
    return edge && edge->trans != 0;
}

// The rows of non-magenta runs of an edge drawn over target, in window coordinates.
QRegion opaquePixels(const TDataSkinBorder &edge, const QRect &target, FrameStacking stacking)
{
    QImage drawn(target.size(), QImage::Format_RGB32);
    drawn.fill(qRgb(255, 0, 255));
    {
        QPainter painter(&drawn);
        TDataSkinBorder opaque = edge;
        opaque.trans = 0;
        paintEdge(painter, opaque, QRect(QPoint(0, 0), target.size()), stacking, true);
    }
    std::vector<QRect> runs;
    for (int y = 0; y < drawn.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(drawn.constScanLine(y));
        int x = 0;
        while (x < drawn.width()) {
            while (x < drawn.width() && isKeyMagenta(line[x])) {
                ++x;
            }
            const int start = x;
            while (x < drawn.width() && !isKeyMagenta(line[x])) {
                ++x;
            }
            if (x > start) {
                runs.emplace_back(target.left() + start, target.top() + y, x - start, 1);
            }
        }
    }
    if (runs.empty()) {
        return {};
    }
    // Runs of one row per rectangle, sorted by row then column, never overlapping: a valid banded region.
    QRegion region;
    region.setRects(runs.data(), int(runs.size()));
    return region;
}

QRegion edgeRegion(const std::optional<TDataSkinBorder> &edge, const QRect &target, FrameStacking stacking)
{
    if (target.isEmpty()) {
        return {};
    }
    const int thickness = stacking == FrameStacking::Stacked ? target.height() : target.width();
    if (edge && edge->trans == 1 && thickness >= kMinShapedThicknessPx && !edge->image.isNull()) {
        return opaquePixels(*edge, target, stacking);
    }
    return QRegion(target);
}

} // namespace

QRegion frameMask(const SkinObjects &skin, const FrameFacts &facts)
{
    if (!isTransparent(skin.left) && !isTransparent(skin.right) && !isTransparent(skin.top)) {
        return QRegion(facts.outerRect());
    }
    QRegion region(facts.clientRect());
    region += edgeRegion(skin.left, edgeRect(facts, Qt::LeftEdge), FrameStacking::SideBySide);
    region += edgeRegion(skin.right, edgeRect(facts, Qt::RightEdge), FrameStacking::SideBySide);
    region += edgeRegion(skin.top, edgeRect(facts, Qt::TopEdge), FrameStacking::Stacked);
    region += edgeRegion(skin.bottom, edgeRect(facts, Qt::BottomEdge), FrameStacking::Stacked);
    return region;
}
