// A generated stand-in for a real skin, for benchmarking when no skin folder is at hand: a description
// and 24-bit bitmaps of frame parts and control states (gradients, borders, magenta-keyed corners,
// some dithering), about the size of a real skin (600 KB unpacked).
#pragma once

#include "packagewriter.h"

#include <vector>

constexpr int kSyntheticBitmaps = 39;

std::vector<skinpack::PackageEntry> syntheticSkin();
