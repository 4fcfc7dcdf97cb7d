// Geometry of a skinned scroll bar along its length: the arrows, the track and the thumb, the hit zones in
// their fixed order, and the thumb while it is dragged. Pure arithmetic, in pixels from the bar's start.
#pragma once

#include <optional>

// Hit zones; the numbers are the scroll request codes of the original platform.
enum class ScrollZone { FirstArrow = 0, SecondArrow = 1, TrackBefore = 2, TrackAfter = 3, Thumb = 5 };

struct ScrollRange
{
    int minimum = 0;
    int maximum = 0;
    int pageStep = 0;
    int position = 0;
    bool upsideDown = false;
};

struct ScrollBarLayout
{
    int lengthPx = 0;
    int arrowPx = 0;      // A: both arrows, hit zones and the track
    int thumbStartPx = 0; // from the bar's start
    int thumbEndPx = 0;   // exclusive

    int thumbLengthPx() const { return thumbEndPx - thumbStartPx; }
    // Each arrow's painted length: A, or half the bar when the bar is shorter than two arrows.
    int paintedArrowPx() const { return lengthPx < 2 * arrowPx ? lengthPx / 2 : arrowPx; }
};

// The layout of a bar of lengthPx with arrows of arrowPx. The thumb fills the track in proportion of the
// page to the whole range, at least minThumbPx; with an empty range it fills the whole track. A drag in
// progress (dragStartPx: the thumb start when it was pressed, dragMovedPx: the cursor's movement along the
// bar since) places the thumb there instead, clamped to the track, keeping its length.
ScrollBarLayout scrollBarLayout(int lengthPx, int arrowPx, const ScrollRange &range, int minThumbPx,
    std::optional<int> dragStartPx = std::nullopt, int dragMovedPx = 0);

// The zone under position p along the bar: p < A is the first arrow, then the track before the thumb, the
// thumb, the track after it up to length - A, and the second arrow.
ScrollZone scrollZoneAt(const ScrollBarLayout &layout, int p);

// The bar's thickness: the Scrollbar image's height unless it differs from A by more than 2 pixels.
int scrollBarThickness(int imageHeightPx, int arrowPx);
