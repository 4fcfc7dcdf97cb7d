// Keeping the program's own windows on the monitors there are: a window that a monitor took with it when it was
// switched off, or that a smaller mode left partly outside, is brought wholly onto a remaining monitor, moved as
// little as it can be. Coordinates are Qt's (a window's outer rectangle and the screens' rectangles alike).
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

#include <optional>

// Where a window whose outer rectangle is `outer` goes on `screens`: nowhere (empty) while every pixel of it lies on
// one monitor or another (a window across two monitors stays); else the top-left corner that puts it wholly on the
// monitor it reaches by the shortest move, the first such monitor on a tie. A window larger than that monitor keeps
// its top-left corner on it. Empty when there are no screens.
std::optional<QPoint> positionOnScreens(const QRect &outer, const QList<QRect> &screens);

// Moves every shown top-level window of the application (the main window, a dialog, a message box) that does not lie
// wholly on the current screens onto them, as positionOnScreens says. Maximized and full-screen windows are left to
// the window manager; on a Wayland session, where a client cannot place itself, nothing is moved.
void bringWindowsOntoScreens();
