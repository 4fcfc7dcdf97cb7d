// Applying saved entries to the windows whose titles match.
#include "applyentry.h"

#include "monitors.h"
#include "titlematch.h"
#include "unitconversion.h"
#include "windowlist.h"

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

PlacementRect placementRect(const Placement &placement, platform::WindowSystem &windowSystem)
{
    const int index = placement.screenIndex;
    const bool monitorInList = index >= 0 && index < GetMonitorCount(windowSystem);
    return computePlacementRect(withinUnitLimits(placement), GetMonitorRect(windowSystem, monitorInList ? index : 0));
}

bool placeWindow(
    platform::WindowSystem &windowSystem, platform::WindowId window, const PlacementRect &rect, bool maximized)
{
    platform::WindowPlacement placement;
    placement.showState = maximized ? platform::ShowState::Maximized : platform::ShowState::Normal;
    placement.normalRect = QRect(rect.left, rect.top, rect.width, rect.height);
    placement.anchor = rect.anchor;
    return windowSystem.setWindowPlacement(window, placement);
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

std::vector<AppliedWindow> placeWindows(const Placement &placement, platform::WindowSystem &windowSystem,
    const std::vector<platform::TopLevelWindow> &windows)
{
    std::vector<AppliedWindow> applied;
    if (windows.empty()) {
        return applied;
    }
    const PlacementRect rect = placementRect(placement, windowSystem);
    for (const auto &window : windows) {
        const bool landed = placeWindow(windowSystem, window.id, rect, placement.maximized);
        applied.push_back({window, QRect(rect.left, rect.top, rect.width, rect.height), landed});
    }
    return applied;
}

std::vector<AppliedWindow> applyEntry(const TitledPlacement &entry, platform::WindowSystem &windowSystem,
    const std::vector<platform::TopLevelWindow> &windows)
{
    return placeWindows(entry.placement, windowSystem, matchingWindows(entry, windows));
}

std::vector<AppliedWindow> applyEntry(const TitledPlacement &entry, platform::WindowSystem &windowSystem)
{
    return applyEntry(entry, windowSystem, offeredWindows(windowSystem));
}
