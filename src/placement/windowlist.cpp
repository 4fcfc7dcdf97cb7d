// The window filter.
#include "windowlist.h"

bool isOffered(const platform::TopLevelWindow &window)
{
    return !window.title.isEmpty() && window.visible && !window.owned;
}

std::vector<platform::TopLevelWindow> offeredWindows(platform::WindowSystem &windowSystem)
{
    std::vector<platform::TopLevelWindow> offered;
    for (auto &window : windowSystem.topLevelWindows()) {
        if (isOffered(window)) {
            offered.push_back(std::move(window));
        }
    }
    return offered;
}
