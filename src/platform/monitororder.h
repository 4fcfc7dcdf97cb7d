// The order of the monitor list, which stored monitor indices refer to.
#pragma once

#include "windowsystem.h"

namespace platform {

// Puts the primary monitor first and the others by (x, y). When no monitor is marked primary, the one holding
// (0, 0) becomes primary, else the first by (x, y). An empty list stays empty.
void orderMonitors(std::vector<Monitor> &monitors);

} // namespace platform
