// The window filter.
#include "windowlist.h"

bool isOffered(const platform::TopLevelWindow &window)
{
    return !window.title.isEmpty() && window.visible && !window.owned;
}

std::vector<platform::TopLevelWindow> offeredWindows(std::vector<platform::TopLevelWindow> windows)
{
    std::erase_if(windows, [](const platform::TopLevelWindow &window) { return !isOffered(window); });
    return windows;
}

std::vector<platform::TopLevelWindow> offeredWindows(platform::WindowSystem &windowSystem)
{
    return offeredWindows(windowSystem.topLevelWindows());
}
