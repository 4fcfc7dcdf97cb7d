// Bringing the program's windows onto the monitors.
#include "ontoscreens.h"

#include <QApplication>
#include <QGuiApplication>
#include <QRegion>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <limits>

#include "skin/frame/windowfacts.h"

namespace {

// The nearest position of a span of `length` that starts at `start` inside [low, high]; a span longer than the
// range starts at `low`.
int clampedStart(int start, int length, int low, int high)
{
    return std::max(low, std::min(start, high + 1 - length));
}

// In 64 bits: coordinates near the 32-bit limits cannot overflow the square.
qint64 squaredLength(QPoint from, QPoint to)
{
    const qint64 dx = qint64(to.x()) - from.x();
    const qint64 dy = qint64(to.y()) - from.y();
    return dx * dx + dy * dy;
}

bool movedByUser(const QWidget *window)
{
    const Qt::WindowType type = window->windowType();
    return type == Qt::Window || type == Qt::Dialog;
}

} // namespace

std::optional<QPoint> positionOnScreens(const QRect &outer, const QList<QRect> &screens)
{
    QRegion uncovered(outer);
    for (const QRect &screen : screens) {
        uncovered -= screen;
    }
    if (screens.isEmpty() || uncovered.isEmpty()) {
        return std::nullopt;
    }
    std::optional<QPoint> best;
    qint64 bestLength = std::numeric_limits<qint64>::max();
    for (const QRect &screen : screens) {
        const QPoint onScreen(clampedStart(outer.left(), outer.width(), screen.left(), screen.right()),
            clampedStart(outer.top(), outer.height(), screen.top(), screen.bottom()));
        const qint64 length = squaredLength(outer.topLeft(), onScreen);
        if (length < bestLength) {
            bestLength = length;
            best = onScreen;
        }
    }
    return best;
}

void bringWindowsOntoScreens()
{
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        return;
    }
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens()) {
        screens << screen->geometry();
    }
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || !movedByUser(window) || window->isMaximized() || window->isFullScreen()) {
            continue;
        }
        if (const auto position = positionOnScreens(outerGeometry(window), screens)) {
            window->move(*position);
        }
    }
}
