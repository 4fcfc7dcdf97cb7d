// Turning the placement values into a target rectangle on a monitor: percent of the monitor's size becomes
// pixels, the alignment places the window against an edge or the centre, the monitor's origin is added.
#pragma once

#include <QRect>

struct PlacementValues
{
    int horzIndex = 0; // 0 Left, 1 Center, 2 Right; anything else acts as Left
    int vertIndex = 0; // 0 Top, 1 Center, 2 Bottom; anything else acts as Top
    int horzValue = 0;
    int vertValue = 0;
    int widthValue = 0;
    int heightValue = 0;
    bool horzPx = false; // false: percent of the reference width
    bool vertPx = false;
    bool widthPx = false;
    bool heightPx = false;
};

// Left, Top, Width and Height in root pixels. Width and height may be zero or negative: nothing is clamped.
struct PlacementRect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const PlacementRect &) const = default;
};

// The target rectangle on `reference`, the full rectangle of the monitor (not its work area). Percent becomes
// pixels as (value * size) / 100 and centring halves the free space, both truncating toward zero.
PlacementRect computePlacementRect(const PlacementValues &values, const QRect &reference);
