// Where the X server has a top-level window, independent of what Qt believes.
#pragma once

#include <QPoint>
#include <optional>

class QWindow;

// The window's top-left corner in root coordinates as the X server has it now; nothing on other platforms or
// when the window has no native window yet.
std::optional<QPoint> nativeRootPosition(QWindow *window);
