// The sixteen built-in saved entries: three window sizes in three horizontal alignments, the six halves of the
// screen and a centred quarter, on the first monitor with 0-pixel offsets.
#pragma once

#include "cparameters.h"

#include <vector>

// The presets in the order they are listed.
std::vector<cParameters> builtInPresets();
