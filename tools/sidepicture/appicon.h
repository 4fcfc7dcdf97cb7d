// Draws the application icon: a screen tile with windows snapped into a grid, one being placed.
#pragma once

#include <QImage>

namespace art {

// The icon at sizePx x sizePx, ARGB with a transparent margin. Edges are snapped to whole pixels at
// every size, so the small sizes stay crisp.
QImage drawAppIcon(int sizePx);

} // namespace art
