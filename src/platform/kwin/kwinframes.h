// The arithmetic of placing a window on KWin: which frame a window ends with when asked for a rectangle, and when
// a placement has landed. Pure functions of what the scripts report.
#pragma once

#include "kwinanswers.h"

#include <QRect>

namespace platform::kwin {

// The frame `window` ends with when asked for `wanted`: its size within the window's own minimum and maximum, grown
// by KWin's decoration (the part of the frame outside the client's surface), placed at the `anchor` point of
// `wanted` (WindowPlacement::anchor).
QRect expectedFrame(const WindowState &window, const QRect &wanted, Qt::Alignment anchor);

// Whether `window` shows a placement asked for: maximized when that was asked (KWin then fills the output's work
// area, whatever the frame), else not maximized and not minimized with `frame` as its frame.
bool hasLanded(const WindowState &window, const QRect &frame, bool maximize);

} // namespace platform::kwin
