// The windows the program offers to work on: top-level windows with a title that are visible and belong to no
// other window, in stacking order, topmost first. The title list, the entry dialog and applying saved entries
// all use this filter.
#pragma once

#include "platform/windowsystem.h"

#include <vector>

bool isOffered(const platform::TopLevelWindow &window);
std::vector<platform::TopLevelWindow> offeredWindows(platform::WindowSystem &windowSystem);
