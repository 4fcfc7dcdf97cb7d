// Applying a placement to the windows an entry targets.
#include "placement/applyentry.h"

#include <algorithm>
#include <iterator>

#include "placement/monitors.h"
#include "placement/titlematch.h"
#include "placement/unitconversion.h"
#include "placement/windowlist.h"

namespace {

Measure withinLimits(Measure measure)
{
    measure.value = clampToUnit(measure.value, measure.unit);
    return measure;
}

} // namespace

Placement withinUnitLimits(Placement placement)
{
    placement.horzOffset = withinLimits(placement.horzOffset);
    placement.vertOffset = withinLimits(placement.vertOffset);
    placement.width = withinLimits(placement.width);
    placement.height = withinLimits(placement.height);
    return placement;
}

QRect referenceRect(const std::vector<platform::Monitor> &monitors, int monitorIndex, int monitorCount)
{
    const bool inList = monitorIndex >= 0 && monitorIndex < monitorCount;
    return GetMonitorRect(monitors, inList ? monitorIndex : 0);
}

PlacementRect placementRect(const Placement &placement, platform::WindowSystem &windowSystem, int monitorCount)
{
    return placementRect(placement, windowSystem.monitorLayout(), monitorCount);
}

PlacementRect placementRect(
    const Placement &placement, const std::vector<platform::Monitor> &monitors, int monitorCount)
{
    return computePlacementRect(
        withinUnitLimits(placement), referenceRect(monitors, placement.screenIndex, monitorCount));
}

platform::WindowPlacement windowPlacement(const PlacementRect &rect, bool maximized)
{
    platform::WindowPlacement placement;
    placement.showState = maximized ? platform::ShowState::Maximized : platform::ShowState::Normal;
    placement.normalRect = QRect(rect.left, rect.top, rect.width, rect.height);
    placement.anchor = rect.anchor;
    return placement;
}

bool placeWindow(
    platform::WindowSystem &windowSystem, platform::WindowId window, const PlacementRect &rect, bool maximized)
{
    return windowSystem.setWindowPlacement(window, windowPlacement(rect, maximized));
}

std::vector<platform::TopLevelWindow> matchingWindows(
    const TitledPlacement &entry, const std::vector<platform::TopLevelWindow> &windows)
{
    std::vector<platform::TopLevelWindow> matching;
    if (entry.Title.isEmpty()) {
        return matching;
    }
    for (const auto &window : windows) {
        if (titleMatches(entry.Title, entry.Regex, window.title)) {
            matching.push_back(window);
        }
    }
    return matching;
}

std::vector<platform::TopLevelWindow> targetWindows(const TitledPlacement &entry, const ApplyScope &scope)
{
    return entry.Title.isEmpty() ? scope.chosen : matchingWindows(entry, scope.windows);
}

ApplyScope activeWindowScope(platform::WindowSystem &windowSystem)
{
    ApplyScope scope;
    scope.windows = offeredWindows(windowSystem);
    const auto active = windowSystem.activeWindow();
    std::copy_if(scope.windows.begin(), scope.windows.end(), std::back_inserter(scope.chosen),
        [&active](const platform::TopLevelWindow &window) { return active == window.id; });
    return scope;
}

ApplyScope activeWindowScope(platform::WindowSystem &windowSystem, const TitledPlacement &entry)
{
    if (entry.Title.isEmpty()) {
        return activeWindowScope(windowSystem);
    }
    ApplyScope scope;
    scope.windows = offeredWindows(windowSystem);
    return scope;
}

QString refusalOf(const std::vector<AppliedWindow> &applied)
{
    return applied.empty() ? QString() : applied.front().refusal;
}

std::vector<AppliedWindow> placeWindows(const Placement &placement, platform::WindowSystem &windowSystem,
    std::optional<int> monitorCount, const std::vector<platform::TopLevelWindow> &windows)
{
    std::vector<AppliedWindow> applied;
    if (windows.empty()) {
        return applied;
    }
    // One reading of the monitors gives both their number and the reference rectangle.
    const std::vector<platform::Monitor> monitors = windowSystem.monitorLayout();
    const int count = monitorCount ? *monitorCount : GetMonitorCount(monitors);
    const PlacementRect rect = placementRect(placement, monitors, count);
    const platform::WindowPlacement asked = windowPlacement(rect, placement.maximized);
    const QString refusal = windowSystem.placementRefusal(asked);
    std::vector<platform::WindowId> ids;
    std::transform(windows.begin(), windows.end(), std::back_inserter(ids),
        [](const platform::TopLevelWindow &window) { return window.id; });
    const std::vector<bool> landed
        = refusal.isEmpty() ? windowSystem.setWindowPlacements(ids, asked) : std::vector<bool>(ids.size(), false);
    for (size_t i = 0; i < windows.size(); ++i) {
        const bool took = i < landed.size() && landed[i];
        applied.push_back({windows[i], QRect(rect.left, rect.top, rect.width, rect.height), took, refusal});
    }
    return applied;
}

std::vector<AppliedWindow> applyEntry(
    const TitledPlacement &entry, platform::WindowSystem &windowSystem, const ApplyScope &scope)
{
    return placeWindows(entry.placement, windowSystem, scope.monitorCount, targetWindows(entry, scope));
}
