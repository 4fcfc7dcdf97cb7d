// The windows the program offers to work on: top-level windows with a title that are visible and belong to no
// other window, in stacking order, topmost first. The title list, the entry dialog, applying saved entries and the
// command line's watch all use this filter.
#pragma once

#include "platform/windowsystem.h"

#include <vector>

bool isOffered(const platform::TopLevelWindow &window);
// The offered ones of `windows`, in their order.
std::vector<platform::TopLevelWindow> offeredWindows(std::vector<platform::TopLevelWindow> windows);
// The offered ones of the window system's top-level windows.
std::vector<platform::TopLevelWindow> offeredWindows(platform::WindowSystem &windowSystem);
