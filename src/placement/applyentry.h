// Applying a saved entry: every offered window whose title matches the entry's title, as plain text or as a regular
// expression, gets the entry's placement on the entry's monitor. The main window's Apply of the saved list and the
// command line both apply entries through here.
#pragma once

#include <QRect>
#include <QString>

#include <vector>

#include "placement.h"
#include "placementarithmetic.h"
#include "platform/windowsystem.h"

// What applying needs of a saved entry: the title of the windows it is for and where they go. An empty title
// names no window.
struct TitledPlacement
{
    QString Title;
    bool Regex = false; // Title is a regular expression rather than a part of the window's title
    Placement placement;
};

// The placement with each of its four numbers clamped to the limits of its unit, as the placement controls hold it.
Placement withinUnitLimits(Placement placement);

// The rectangle of `placement` on the current monitors, as the main window computes it from its controls: the
// numbers within their unit's limits, and a monitor that is not in the list replaced by the primary one.
PlacementRect placementRect(const Placement &placement, platform::WindowSystem &windowSystem);

// Gives the window the rectangle, shown normal or maximized; whether it took the placement (see
// WindowSystem::setWindowPlacement).
bool placeWindow(
    platform::WindowSystem &windowSystem, platform::WindowId window, const PlacementRect &rect, bool maximized);

// The windows of `windows` whose titles match the entry, in their order; none for an entry without a title.
std::vector<platform::TopLevelWindow> matchingWindows(
    const TitledPlacement &entry, const std::vector<platform::TopLevelWindow> &windows);

struct AppliedWindow
{
    platform::TopLevelWindow window;
    QRect requested;     // the outer rectangle asked for
    bool landed = false; // took the placement, as exactly as its size hints allow
};

// Gives each window the placement's rectangle, in order; reports each window.
std::vector<AppliedWindow> placeWindows(const Placement &placement, platform::WindowSystem &windowSystem,
    const std::vector<platform::TopLevelWindow> &windows);

// Applies the entry to each window of `windows` (offered windows, topmost first) whose title matches, in that
// order, all with the same rectangle; reports each window it applied to.
std::vector<AppliedWindow> applyEntry(const TitledPlacement &entry, platform::WindowSystem &windowSystem,
    const std::vector<platform::TopLevelWindow> &windows);
// The same over the windows offered now.
std::vector<AppliedWindow> applyEntry(const TitledPlacement &entry, platform::WindowSystem &windowSystem);
