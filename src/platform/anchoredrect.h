// Where a window goes when it cannot take the size it was asked for: the point of the asked rectangle that it keeps
// (WindowPlacement::anchor). Shared by every backend; pure arithmetic.
#pragma once

#include <QRect>

namespace platform {

// A rectangle of `size` that keeps the `anchor` point of `target`: its left edge, right edge or horizontal centre
// (half the difference, truncated toward zero), and likewise vertically; the corner kept within
// +-`coordinateLimitPx`.
QRect anchoredRect(const QRect &target, QSize size, Qt::Alignment anchor, int coordinateLimitPx);

} // namespace platform
