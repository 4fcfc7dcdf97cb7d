// Monitor queries on top of the window system's monitor list.
#include "monitors.h"

#include <algorithm>
#include <limits>

namespace {

bool isIndexOf(const std::vector<platform::Monitor> &monitors, int index)
{
    return index >= 0 && static_cast<size_t>(index) < monitors.size();
}

// Squared distance from a point to a rectangle (0 inside), in 64 bits so far-off points cannot overflow.
qint64 distanceSquared(const QRect &rect, QPoint point)
{
    const qint64 dx = point.x() < rect.left() ? rect.left() - point.x()
        : point.x() > rect.right()            ? point.x() - rect.right()
                                              : 0;
    const qint64 dy = point.y() < rect.top() ? rect.top() - point.y()
        : point.y() > rect.bottom()          ? point.y() - rect.bottom()
                                             : 0;
    return dx * dx + dy * dy;
}

QRect nearestMonitorRect(const std::vector<platform::Monitor> &monitors, QPoint point)
{
    QRect best;
    qint64 bestDistance = std::numeric_limits<qint64>::max();
    for (const auto &monitor : monitors) {
        const qint64 distance = distanceSquared(monitor.rect, point);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = monitor.rect;
        }
    }
    return best;
}

QPoint adapterPositionIn(const std::vector<platform::Monitor> &monitors, int index)
{
    return isIndexOf(monitors, index) ? monitors[index].rect.topLeft() : QPoint(0, 0);
}

// The monitor rectangle of `index` within one reading of the monitor list.
QRect monitorRectIn(const std::vector<platform::Monitor> &monitors, int index)
{
    return nearestMonitorRect(monitors, adapterPositionIn(monitors, index) + QPoint(1, 1));
}

} // namespace

int GetMonitorCount(platform::WindowSystem &windowSystem)
{
    return GetMonitorCount(windowSystem.monitorLayout());
}

int GetMonitorCount(const std::vector<platform::Monitor> &monitors)
{
    return std::max(1, static_cast<int>(monitors.size()));
}

QString GetMonitorName(platform::WindowSystem &windowSystem, int index)
{
    const auto monitors = windowSystem.monitors();
    return isIndexOf(monitors, index) ? monitors[index].name : QString();
}

QPoint GetAdapterPosition(platform::WindowSystem &windowSystem, int index)
{
    return adapterPositionIn(windowSystem.monitorLayout(), index);
}

QRect GetMonitorRect(platform::WindowSystem &windowSystem, int index)
{
    return GetMonitorRect(windowSystem.monitorLayout(), index);
}

QRect GetMonitorRect(const std::vector<platform::Monitor> &monitors, int index)
{
    return monitorRectIn(monitors, index);
}

// One reading of the monitor list serves the whole walk: a walk never sees two different layouts, and costs
// one round trip to the X server instead of two per monitor.
int MonitorAtPoint(platform::WindowSystem &windowSystem, int monitorCount, QPoint point)
{
    return MonitorAtPoint(windowSystem.monitorLayout(), monitorCount, point);
}

int MonitorAtPoint(const std::vector<platform::Monitor> &monitors, int monitorCount, QPoint point)
{
    for (int i = 0; i < monitorCount; ++i) {
        if (monitorRectIn(monitors, i).contains(point)) {
            return i;
        }
    }
    return -1;
}

QSize primaryScreenSize(platform::WindowSystem &windowSystem)
{
    const auto monitors = windowSystem.monitorLayout();
    const auto primary = std::find_if(monitors.begin(), monitors.end(), [](const auto &m) { return m.primary; });
    return primary != monitors.end() ? primary->rect.size() : QSize();
}

QString monitorListEntry(int index, const QString &name)
{
    return QStringLiteral("%1 - %2").arg(index + 1).arg(name);
}

bool RectFitsMonitor(platform::WindowSystem &windowSystem, int monitorCount, QPoint topLeft, QSize size)
{
    constexpr qint64 kMax = std::numeric_limits<int>::max();
    if (qint64(topLeft.x()) + size.width() > kMax || qint64(topLeft.y()) + size.height() > kMax) {
        return false;
    }
    const QRect rect(topLeft, size);
    const auto monitors = windowSystem.monitorLayout();
    for (int i = 0; i < monitorCount; ++i) {
        const QRect overlap = monitorRectIn(monitors, i).intersected(rect);
        if (!overlap.isEmpty()) {
            return overlap == rect;
        }
    }
    return false;
}
