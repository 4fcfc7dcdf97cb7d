// Keeps Qt's idea of a top-level window's place in step with the X server's, and places a window in the server's
// pixels.
#pragma once

#include <QPoint>
#include <optional>

class QWidget;
class QWindow;
struct xcb_connection_t;

// Qt's own connection to the X server when the window has a native X11 window; null on other platforms.
xcb_connection_t *xcbConnectionOf(QWindow *window);

// The window's top-left corner in root coordinates as the X server has it now; nothing on other platforms or
// when the window has no native window yet.
std::optional<QPoint> nativeRootPosition(QWindow *window);

// The top-level window's outer top-left corner (the window manager's frame included) in screen pixels, as the X
// server has it now; nothing on other platforms or without a native window. Qt's own position lags behind the
// server's until syncWithServerGeometry has run.
std::optional<QPoint> serverOuterPositionPx(const QWidget *window);

// Asks for the window's top-left corner at `topLeftPx` in root coordinates (screen pixels), as the window's own
// configure request: the window manager places it there (the window's gravity is static, as Qt sets it), without
// a server round trip. Qt hears of the new place from the window manager's report. Whether it was asked: false on
// other platforms and without a native window.
bool placeNativeWindow(QWindow *window, QPoint topLeftPx);

// Sends the requests Qt has queued for the X server now; nothing on other platforms.
void flushNativeRequests(QWindow *window);

// When Qt places the window elsewhere than the server does, tells Qt the server's rectangle the way a window
// manager does: a synthetic ConfigureNotify sent to the window itself (nothing is moved). From then on, each move
// of the window manager's frame around the window syncs it again. X11 only.
void syncWithServerGeometry(QWindow *window);
