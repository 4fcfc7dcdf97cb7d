// The two units of length that meet in the program, and the only conversions between them. Qt lays out, paints and
// places windows in its device-independent pixels; the X server, the window system (platform::WindowSystem), the
// placement values the user types and reads, and the settings file's window position count the screen's own
// pixels. Qt maps one to the other per screen: a screen's top-left corner is the same point in both units, and from
// there Qt's pixels are scaled by the screen's device pixel ratio (Xft.dpi / 96 on X11, times QT_SCALE_FACTOR).
#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

// The device pixel ratio at a point in screen pixels: that of the screen holding it, else the primary screen's
// (1 without screens).
qreal scaleAtScreenPx(QPoint pointPx);

// A global position in Qt's pixels as screen pixels, through the screen that holds it (the primary one when none
// does), rounded to the nearest pixel. Qt's pointer positions carry fractions at scales above 1: mapped back they
// give the server's pixel exactly.
QPoint screenPxFromLogical(QPointF logical);
// A global position in screen pixels as Qt's, through the screen that holds it. At a fractional scale not every
// screen pixel has a position of its own in Qt's pixels: the nearest one is given, and mapped back it lands within
// one screen pixel of the original.
QPoint logicalFromScreenPx(QPoint pointPx);
// A size in Qt's pixels as screen pixels at `scale`, rounded to whole pixels; at a fractional scale the native
// window Qt makes of it may be one pixel smaller (591 at 1.5 gives 886, not 887).
QSize screenPxFromLogical(QSize logical, qreal scale);
// A window's rectangle in Qt's pixels as screen pixels: its corner mapped, its size at the scale there.
QRect screenPxFromLogical(const QRect &logical);
