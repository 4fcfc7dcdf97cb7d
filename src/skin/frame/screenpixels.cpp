// Conversions between Qt's pixels and the screen's, as Qt's own high-density scaling maps window geometry.
#include "screenpixels.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtMath>

namespace {

// The screen's rectangle in screen pixels: its corner as Qt has it, its size scaled back up.
QRect screenRectPx(const QScreen *screen)
{
    const QRect logical = screen->geometry();
    return QRect(logical.topLeft(), logical.size() * screen->devicePixelRatio());
}

// The first screen for which `holds` is true, else the primary screen (null without screens).
template<typename Holds> const QScreen *screenWhere(Holds holds)
{
    for (const QScreen *screen : QGuiApplication::screens()) {
        if (holds(screen)) {
            return screen;
        }
    }
    return QGuiApplication::primaryScreen();
}

// `point` scaled by `factor` about `origin`, rounded to the nearest integer on each axis.
QPoint scaledAbout(QPointF point, QPoint origin, qreal factor)
{
    return origin + ((point - QPointF(origin)) * factor).toPoint();
}

const QScreen *screenAtPx(QPoint pointPx)
{
    return screenWhere([pointPx](const QScreen *screen) { return screenRectPx(screen).contains(pointPx); });
}

} // namespace

qreal scaleAtScreenPx(QPoint pointPx)
{
    const QScreen *screen = screenAtPx(pointPx);
    return screen ? screen->devicePixelRatio() : 1.0;
}

QPoint screenPxFromLogical(QPointF logical)
{
    const QPoint pixel(qFloor(logical.x()), qFloor(logical.y())); // the pixel the position lies in
    const QScreen *screen
        = screenWhere([pixel](const QScreen *candidate) { return candidate->geometry().contains(pixel); });
    return screen ? scaledAbout(logical, screen->geometry().topLeft(), screen->devicePixelRatio()) : logical.toPoint();
}

QPoint logicalFromScreenPx(QPoint pointPx)
{
    const QScreen *screen = screenAtPx(pointPx);
    return screen ? scaledAbout(pointPx, screen->geometry().topLeft(), 1.0 / screen->devicePixelRatio()) : pointPx;
}

QSize screenPxFromLogical(QSize logical, qreal scale)
{
    return logical * scale;
}

QRect screenPxFromLogical(const QRect &logical)
{
    const QPoint cornerPx = screenPxFromLogical(logical.topLeft());
    return {cornerPx, screenPxFromLogical(logical.size(), scaleAtScreenPx(cornerPx))};
}
