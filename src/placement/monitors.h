// The display unit: how many monitors the program offers, their names and rectangles, and which monitor holds a
// point. A monitor index is a position in the window system's monitor list; -1 means "no monitor selected".
// Nothing is cached: every call asks the window system again, so a changed layout is seen at once. Only the names
// need the full monitor list; everything else reads the layout, which costs the X11 backend one round trip.
#pragma once

#include "platform/windowsystem.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

// Number of monitors, at least 1.
int GetMonitorCount(platform::WindowSystem &windowSystem);
// The same within one reading of the monitor list.
int GetMonitorCount(const std::vector<platform::Monitor> &monitors);
// The monitor's name, or an empty string for an index that is not in the list.
QString GetMonitorName(platform::WindowSystem &windowSystem, int index);
// Upper left corner of the monitor, or (0, 0) for an index that is not in the list.
QPoint GetAdapterPosition(platform::WindowSystem &windowSystem, int index);
// Full rectangle of the monitor that holds the point one pixel inside the monitor's corner; for an index that is
// not in the list, the monitor nearest to (1, 1).
QRect GetMonitorRect(platform::WindowSystem &windowSystem, int index);
// The same within one reading of the monitor list.
QRect GetMonitorRect(const std::vector<platform::Monitor> &monitors, int index);
// The first of the first `monitorCount` monitors that holds the point (right and bottom edges excluded), or -1.
int MonitorAtPoint(platform::WindowSystem &windowSystem, int monitorCount, QPoint point);
// The same within one reading of the monitor list (each reading costs X round trips).
int MonitorAtPoint(const std::vector<platform::Monitor> &monitors, int monitorCount, QPoint point);
// Size of the primary monitor: the reference size when no monitor is selected.
QSize primaryScreenSize(platform::WindowSystem &windowSystem);

// The entry of the monitor list for a monitor: "%d - %s" with the 1-based number and the name.
QString monitorListEntry(int index, const QString &name);

// Whether the rectangle at `topLeft` with `size` lies wholly inside the first of the first `monitorCount` monitors
// that it overlaps at all. A rectangle whose far edge is past the 32-bit range (a position of INT_MAX stands for
// "never saved") fits nowhere.
bool RectFitsMonitor(platform::WindowSystem &windowSystem, int monitorCount, QPoint topLeft, QSize size);
