// Native geometry queries and the synthetic ConfigureNotify, on Qt's own xcb connection.
#include "nativeposition.h"

#include <QGuiApplication>
#include <QRect>
#include <QWindow>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace {

template<typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_connection_t *connectionOf(QWindow *window)
{
    const auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !window || !window->handle()) {
        return nullptr;
    }
    return x11->connection(); // null on other platforms that merely offer the interface (offscreen)
}

} // namespace

std::optional<QPoint> nativeRootPosition(QWindow *window)
{
    xcb_connection_t *connection = connectionOf(window);
    if (!connection) {
        return std::nullopt;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    Reply<xcb_translate_coordinates_reply_t> reply(
        xcb_translate_coordinates_reply(
            connection, xcb_translate_coordinates(connection, xcb_window_t(window->winId()), root, 0, 0), nullptr),
        &std::free);
    if (!reply) {
        return std::nullopt;
    }
    return QPoint(reply->dst_x, reply->dst_y);
}

void syncWithServerGeometry(QWindow *window)
{
    xcb_connection_t *connection = connectionOf(window);
    const std::optional<QPoint> position = nativeRootPosition(window);
    if (!connection || !position) {
        return;
    }
    const auto id = xcb_window_t(window->winId());
    Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), nullptr), &std::free);
    if (!geometry || QRect(*position, QSize(geometry->width, geometry->height)) == window->geometry()) {
        return;
    }
    // xcb_send_event sends 32 bytes whatever the event's own size.
    union
    {
        xcb_configure_notify_event_t notify;
        char bytes[32];
    } event {};
    event.notify.response_type = XCB_CONFIGURE_NOTIFY;
    event.notify.event = id;
    event.notify.window = id;
    event.notify.above_sibling = XCB_NONE;
    event.notify.x = int16_t(position->x());
    event.notify.y = int16_t(position->y());
    event.notify.width = geometry->width;
    event.notify.height = geometry->height;
    event.notify.border_width = geometry->border_width;
    xcb_send_event(connection, 0, id, XCB_EVENT_MASK_STRUCTURE_NOTIFY, event.bytes);
    xcb_flush(connection);
}
