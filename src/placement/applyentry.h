// Applying a placement: which windows an entry targets, the rectangle on the entry's monitor, setting each window
// and what became of it. The main window's two Apply buttons, --apply and --watch all apply through here.
#pragma once

#include <QRect>
#include <QString>

#include <optional>
#include <vector>

#include "placement/placement.h"
#include "placement/placementarithmetic.h"
#include "platform/windowsystem.h"

// What applying needs of a saved entry: the title of the windows it is for and where they go. An empty title
// names no window: such an entry targets the windows chosen for it (see ApplyScope).
struct TitledPlacement
{
    QString Title;
    bool Regex = false; // Title is a regular expression rather than a part of the window's title
    Placement placement;
};

// What an entry is applied within.
struct ApplyScope
{
    // Length of the monitor list the monitor was chosen from (empty: the monitors there are now, read only when a
    // window is placed): an index within it is used; any other (-1 for no selection, a monitor that has gone)
    // stands for the primary monitor.
    std::optional<int> monitorCount;
    // The offered windows, topmost first: an entry with a title targets those whose titles match, in this order.
    std::vector<platform::TopLevelWindow> windows;
    // What an entry without a title targets: the windows chosen in the title list, or the active window.
    std::vector<platform::TopLevelWindow> chosen;
};

// The placement with each of its four numbers clamped to the limits of its unit, as the placement controls hold it.
Placement withinUnitLimits(Placement placement);

// The full rectangle of monitor `monitorIndex` when it is in a list of `monitorCount`, else of the primary monitor
// (on X11 the primary monitor need not be at the origin, so its own rectangle is used, not its size at (0, 0)).
QRect referenceRect(const std::vector<platform::Monitor> &monitors, int monitorIndex, int monitorCount);

// The rectangle of `placement` on the current monitors: the numbers within their unit's limits, on the reference
// rectangle of its monitor.
PlacementRect placementRect(const Placement &placement, platform::WindowSystem &windowSystem, int monitorCount);
// The same within one reading of the monitor list.
PlacementRect placementRect(
    const Placement &placement, const std::vector<platform::Monitor> &monitors, int monitorCount);

// The window-system placement of the rectangle, shown normal or maximized.
platform::WindowPlacement windowPlacement(const PlacementRect &rect, bool maximized);

// Gives the window the rectangle, shown normal or maximized; whether it took the placement (see
// WindowSystem::setWindowPlacement).
bool placeWindow(
    platform::WindowSystem &windowSystem, platform::WindowId window, const PlacementRect &rect, bool maximized);

// The windows of `windows` whose titles match the entry, in their order; none for an entry without a title.
std::vector<platform::TopLevelWindow> matchingWindows(
    const TitledPlacement &entry, const std::vector<platform::TopLevelWindow> &windows);

// The windows the entry is for: with a title, the scope's windows that match it; without, the chosen ones.
std::vector<platform::TopLevelWindow> targetWindows(const TitledPlacement &entry, const ApplyScope &scope);

// The scope of an entry applied from outside the window: the current monitors, the windows offered now, and the
// active window (when it is offered) for an entry without a title.
ApplyScope activeWindowScope(platform::WindowSystem &windowSystem);
// The same for one entry: the active window is read only for an entry without a title, the only kind it serves.
ApplyScope activeWindowScope(platform::WindowSystem &windowSystem, const TitledPlacement &entry);

struct AppliedWindow
{
    platform::TopLevelWindow window;
    QRect requested;     // the outer rectangle asked for
    bool landed = false; // took the placement, as exactly as its size hints allow
    QString refusal;     // why the window system can never carry out the placement (then not tried), or empty
};

// Why the window system can never carry out the placement the windows were given (none of them was tried then);
// empty when it can, or for no window.
QString refusalOf(const std::vector<AppliedWindow> &applied);

// Gives each window the placement's rectangle (see WindowSystem::setWindowPlacements); reports each window, in order.
// `monitorCount` as in ApplyScope.
std::vector<AppliedWindow> placeWindows(const Placement &placement, platform::WindowSystem &windowSystem,
    std::optional<int> monitorCount, const std::vector<platform::TopLevelWindow> &windows);

// Applies the entry to the windows it targets in the scope, all with the same rectangle; reports each window.
std::vector<AppliedWindow> applyEntry(
    const TitledPlacement &entry, platform::WindowSystem &windowSystem, const ApplyScope &scope);
