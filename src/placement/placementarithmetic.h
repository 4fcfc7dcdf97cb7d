// Turning the placement values into a target rectangle on a monitor: percent of the monitor's size becomes
// pixels, the alignment places the window against an edge or the centre, the monitor's origin is added.
#pragma once

#include <QRect>

#include "placement.h"

// Left, Top, Width and Height in root pixels. Width and height may be zero or negative: nothing is clamped.
struct PlacementRect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    // What the alignment keeps of the rectangle for a window that cannot take its size: the left or right edge or
    // the centre, the top or bottom edge or the centre.
    Qt::Alignment anchor = Qt::AlignLeft | Qt::AlignTop;

    bool operator==(const PlacementRect &) const = default;
};

// The target rectangle on `reference`, the full rectangle of the monitor (not its work area). Percent becomes
// pixels as (value * size) / 100 and centring halves the free space, both truncating toward zero.
PlacementRect computePlacementRect(const Placement &placement, const QRect &reference);
