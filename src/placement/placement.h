// The placement of a window as the user sets it: a monitor, an alignment with an offset on each axis, a width and a
// height, each of the four numbers in percent of the monitor or in pixels, and whether the window is maximized.
// Saved entries hold one, the placement controls show one, and the placement arithmetic turns one into pixels.
#pragma once

enum class Unit { Percent, Pixels };

// Stored as the settings file's HorzIndex and VertIndex. Any other value (a hand-edited file, or a list without a
// selection: -1) is kept as it is and acts as Left or Top.
enum class HorzAlignment : int { Left = 0, Center = 1, Right = 2 };
enum class VertAlignment : int { Top = 0, Center = 1, Bottom = 2 };

// One of the four numbers with its unit: percent of the monitor's width or height, or pixels.
struct Measure
{
    int value = 0;
    Unit unit = Unit::Percent;

    bool operator==(const Measure &) const = default;
};

struct Placement
{
    int screenIndex = 0; // position in the monitor list; one that is not in it stands for the primary monitor
    HorzAlignment horzAlignment = HorzAlignment::Left;
    Measure horzOffset;
    VertAlignment vertAlignment = VertAlignment::Top;
    Measure vertOffset;
    Measure width;
    Measure height;
    bool maximized = false;

    bool operator==(const Placement &) const = default;
};
