// The window manager's interactive move and resize on X11 (_NET_WM_MOVERESIZE), asked for so that the window keeps
// the point it was grabbed at under the pointer. Qt's own request (QWindow::startSystemMove) names the position of the
// last pointer event counted from where Qt expects the window to stand; while the program itself is still moving the
// window after the pointer, that position is off by the window's last step, and the window manager then holds the
// window off the pointer by as much for the whole move.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QPointF>
#include <Qt>

#include <cstdint>
#include <functional>
#include <span>

class QWindow;

// Whether a format-32 ATOM property's bytes (_NET_SUPPORTED as GetProperty returned them) list `atom`; false for any
// other type or format, or a length that is not a whole number of items.
bool atomListHolds(std::span<const uint8_t> bytes, uint32_t type, uint8_t format, uint32_t atom);

// Asks the window manager to move the window with the pointer (`edges` empty), or to resize it at those edges, the
// pointer holding the window at `grabbed`, a point in the window's own coordinates: the request names where that point
// stands once the window is where the program last put it. Returns whether it was asked; false on other platforms,
// without an EWMH window manager and with one that does not offer _NET_WM_MOVERESIZE.
bool startWindowManagerDrag(QWindow *window, QPointF grabbed, Qt::Edges edges);

// Tells the window manager that the drag it was asked for is over: the button was let go before it took the pointer,
// and it would otherwise move the window until the next click (fluxbox). The window stays where the program last put
// it. Nothing where there is no such window manager.
void cancelWindowManagerDrag(QWindow *window);

// Asks the window manager to put the window's top-left corner at `at` (Qt's global coordinates), whatever Qt believes
// about the window's place; Qt misses placements whose report names the place it last heard of.
void placeWindow(QWindow *window, QPoint at);

// Hears where the window manager says it has put a window (the ConfigureNotify it sends when it moves the window's
// frame), in Qt's global coordinates. Qt does not report such a placement when it names the place Qt last heard of,
// though the program has moved the window since. A report the callback answers true for is kept from Qt: the program
// undoes that placement, and Qt goes on holding the place it asks for.
class PlacementWatch : public QAbstractNativeEventFilter
{
public:
    explicit PlacementWatch(std::function<bool(QPoint)> placed);
    ~PlacementWatch() override;
    PlacementWatch(const PlacementWatch &) = delete;
    PlacementWatch &operator=(const PlacementWatch &) = delete;

    // Starts hearing about `window`; nullptr stops. Either may be called from the callback.
    void watch(QWindow *window);
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    std::function<bool(QPoint)> m_placed;
    QWindow *m_window = nullptr;
    uint32_t m_id = 0;
};

// Whether the pointer's first button is held down now, as the X server has it (a round trip); false where that cannot
// be asked.
bool primaryButtonHeld(QWindow *window);
