// Scroll-bar geometry.
#include "scrollbargeometry.h"

#include <QStyle>
#include <algorithm>
#include <cstdlib>

ScrollBarLayout scrollBarLayout(int lengthPx, int arrowPx, const ScrollRange &range, int minThumbPx,
    std::optional<int> dragStartPx, int dragMovedPx)
{
    ScrollBarLayout layout;
    layout.lengthPx = std::max(lengthPx, 0);
    layout.arrowPx = std::max(arrowPx, 0);
    const int trackPx = std::max(layout.lengthPx - 2 * layout.arrowPx, 0);
    const qint64 span = qint64(range.maximum) - range.minimum;
    int thumbPx = trackPx;
    if (span > 0) {
        const qint64 proportional
            = qint64(std::max(range.pageStep, 0)) * trackPx / (span + std::max(range.pageStep, 0));
        thumbPx = int(std::clamp<qint64>(proportional, std::min(minThumbPx, trackPx), trackPx));
    }
    const int freePx = trackPx - thumbPx;
    int startPx = layout.arrowPx;
    if (dragStartPx) {
        startPx = std::clamp(*dragStartPx + dragMovedPx, layout.arrowPx, layout.arrowPx + freePx);
    } else if (span > 0) {
        startPx += QStyle::sliderPositionFromValue(range.minimum, range.maximum,
            std::clamp(range.position, range.minimum, range.maximum), freePx, range.upsideDown);
    }
    layout.thumbStartPx = startPx;
    layout.thumbEndPx = startPx + thumbPx;
    return layout;
}

ScrollZone scrollZoneAt(const ScrollBarLayout &layout, int p)
{
    if (p < layout.arrowPx) {
        return ScrollZone::FirstArrow;
    }
    if (p < layout.thumbStartPx) {
        return ScrollZone::TrackBefore;
    }
    if (p < layout.thumbEndPx) {
        return ScrollZone::Thumb;
    }
    if (p < layout.lengthPx - layout.arrowPx) {
        return ScrollZone::TrackAfter;
    }
    return ScrollZone::SecondArrow;
}

int scrollBarThickness(int imageHeightPx, int arrowPx)
{
    return std::abs(imageHeightPx - arrowPx) > 2 ? arrowPx : imageHeightPx;
}
