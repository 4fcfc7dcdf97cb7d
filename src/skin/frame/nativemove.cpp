// The window manager's interactive move and resize, asked for on Qt's own xcb connection.
#include "nativemove.h"
#include "nativeposition.h"

#include <QCoreApplication>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <xcb/xcb.h>

namespace {

template<typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

// _NET_SUPPORTED of real window managers holds 50 to 200 atoms.
constexpr uint32_t kMaxSupportedAtoms = 1024;

// _NET_WM_MOVERESIZE (EWMH): the directions, and the source indication of an ordinary application.
constexpr uint32_t kMoveDirection = 8;
constexpr uint32_t kCancel = 11;
constexpr uint32_t kFromApplication = 1;

uint32_t directionOf(Qt::Edges edges)
{
    const bool left = edges.testFlag(Qt::LeftEdge);
    const bool right = edges.testFlag(Qt::RightEdge);
    const bool top = edges.testFlag(Qt::TopEdge);
    const bool bottom = edges.testFlag(Qt::BottomEdge);
    if (top) {
        return left ? 0 : right ? 2 : 1;
    }
    if (bottom) {
        return right ? 4 : left ? 6 : 5;
    }
    return left ? 7 : right ? 3 : kMoveDirection;
}

xcb_atom_t existingAtom(xcb_connection_t *connection, xcb_intern_atom_cookie_t cookie)
{
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_NONE);
}

// The atom _NET_WM_MOVERESIZE when the window manager lists it as supported, else none. A list left behind by a
// window manager that has gone still counts: the request then goes unanswered, which the frame notices.
xcb_atom_t moveResizeAtom(xcb_connection_t *connection, xcb_window_t root)
{
    const auto supportedCookie = xcb_intern_atom(connection, 1, 14, "_NET_SUPPORTED");
    const auto moveResizeCookie = xcb_intern_atom(connection, 1, 18, "_NET_WM_MOVERESIZE");
    const xcb_atom_t supported = existingAtom(connection, supportedCookie);
    const xcb_atom_t moveResize = existingAtom(connection, moveResizeCookie);
    if (supported == XCB_NONE || moveResize == XCB_NONE) {
        return XCB_NONE;
    }
    const Reply<xcb_get_property_reply_t> list(
        xcb_get_property_reply(connection,
            xcb_get_property(connection, 0, root, supported, XCB_ATOM_ATOM, 0, kMaxSupportedAtoms), nullptr),
        &std::free);
    if (!list) {
        return XCB_NONE;
    }
    const int length = xcb_get_property_value_length(list.get());
    const std::span<const uint8_t> bytes(
        static_cast<const uint8_t *>(xcb_get_property_value(list.get())), size_t(std::max(length, 0)));
    return atomListHolds(bytes, list->type, list->format, moveResize) ? moveResize : xcb_atom_t(XCB_NONE);
}

// A point in Qt's device-independent global coordinates as the X server counts it. Qt scales the positions on a
// screen from that screen's top-left corner, which both coordinate systems share.
QPoint serverPosition(QPointF point, const QWindow *window)
{
    const QScreen *screen = window->screen();
    const QPointF origin = screen ? QPointF(screen->geometry().topLeft()) : QPointF();
    return (origin + (point - origin) * window->devicePixelRatio()).toPoint();
}

// The inverse of serverPosition.
QPoint qtPosition(QPoint server, const QWindow *window)
{
    const QScreen *screen = window->screen();
    const QPointF origin = screen ? QPointF(screen->geometry().topLeft()) : QPointF();
    return (origin + (QPointF(server) - origin) / window->devicePixelRatio()).toPoint();
}

// Sends _NET_WM_MOVERESIZE for the window when the window manager offers it; whether it was sent. `from` gives the
// root position the window manager counts from.
bool sendMoveResize(QWindow *window, uint32_t direction, const std::function<QPoint()> &from)
{
    xcb_connection_t *connection = xcbConnectionOf(window);
    if (!connection) {
        return false;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_atom_t moveResize = moveResizeAtom(connection, root);
    if (moveResize == XCB_NONE) {
        return false;
    }
    const QPoint position = from();
    // xcb_send_event sends 32 bytes whatever the event's own size.
    union
    {
        xcb_client_message_event_t message;
        char bytes[32];
    } event {};
    event.message.response_type = XCB_CLIENT_MESSAGE;
    event.message.format = 32;
    event.message.window = xcb_window_t(window->winId());
    event.message.type = moveResize;
    event.message.data.data32[0] = uint32_t(position.x());
    event.message.data.data32[1] = uint32_t(position.y());
    event.message.data.data32[2] = direction;
    event.message.data.data32[3] = XCB_BUTTON_INDEX_1;
    event.message.data.data32[4] = kFromApplication;
    // The button press gave this program the pointer; the window manager takes it over only once it is let go.
    xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
    xcb_send_event(
        connection, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY, event.bytes);
    xcb_flush(connection);
    return true;
}

} // namespace

bool atomListHolds(std::span<const uint8_t> bytes, uint32_t type, uint8_t format, uint32_t atom)
{
    if (type != XCB_ATOM_ATOM || format != 32 || bytes.size() % 4 != 0) {
        return false;
    }
    for (size_t offset = 0; offset < bytes.size(); offset += 4) {
        uint32_t item = 0;
        std::memcpy(&item, bytes.data() + offset, 4);
        if (item == atom) {
            return true;
        }
    }
    return false;
}

bool startWindowManagerDrag(QWindow *window, QPointF grabbed, Qt::Edges edges)
{
    // The window manager counts the pointer's travel from this point; the program's own moves reach it first.
    const auto from = [window, grabbed] {
        return serverPosition(QPointF(window->geometry().topLeft()), window)
            + (grabbed * window->devicePixelRatio()).toPoint();
    };
    return sendMoveResize(window, directionOf(edges), from);
}

void cancelWindowManagerDrag(QWindow *window)
{
    if (!sendMoveResize(window, kCancel, [] { return QPoint(); })) {
        return;
    }
    // Window managers put a cancelled move back where it began (openbox, KWin): the window is asked back to where the
    // program last put it, which Qt, holding that place already, would not ask for again.
    placeWindow(window, window->geometry().topLeft());
}

void placeWindow(QWindow *window, QPoint at)
{
    xcb_connection_t *connection = xcbConnectionOf(window);
    if (!connection) {
        return;
    }
    const QPoint server = serverPosition(QPointF(at), window);
    const uint32_t values[] = {uint32_t(server.x()), uint32_t(server.y())};
    xcb_configure_window(connection, xcb_window_t(window->winId()), XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, values);
    xcb_flush(connection);
}

PlacementWatch::PlacementWatch(std::function<bool(QPoint)> placed)
    : m_placed(std::move(placed))
{
    QCoreApplication::instance()->installNativeEventFilter(this);
}

PlacementWatch::~PlacementWatch()
{
    if (QCoreApplication::instance()) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
}

void PlacementWatch::watch(QWindow *window)
{
    m_window = window;
    m_id = window && window->handle() ? uint32_t(window->winId()) : 0;
}

// The window manager's report is a sent event in root coordinates (ICCCM); the server's own reports count from the
// frame and are left alone.
bool PlacementWatch::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (m_id == 0 || eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const bool sent = event->response_type & 0x80;
    if (!sent || (event->response_type & 0x7f) != XCB_CONFIGURE_NOTIFY) {
        return false;
    }
    const auto *configure = reinterpret_cast<const xcb_configure_notify_event_t *>(event);
    return configure->window == m_id && m_placed(qtPosition(QPoint(configure->x, configure->y), m_window));
}

bool primaryButtonHeld(QWindow *window)
{
    xcb_connection_t *connection = xcbConnectionOf(window);
    if (!connection) {
        return false;
    }
    const Reply<xcb_query_pointer_reply_t> reply(
        xcb_query_pointer_reply(connection, xcb_query_pointer(connection, xcb_window_t(window->winId())), nullptr),
        &std::free);
    return reply && (reply->mask & XCB_KEY_BUT_MASK_BUTTON_1);
}
