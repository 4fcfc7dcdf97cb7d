// nativeRootPosition: one TranslateCoordinates round trip on Qt's own connection.
#include "nativeposition.h"

#include <QGuiApplication>
#include <QWindow>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

std::optional<QPoint> nativeRootPosition(QWindow *window)
{
    const auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !window || !window->handle()) {
        return std::nullopt;
    }
    xcb_connection_t *connection = x11->connection();
    if (!connection) {
        return std::nullopt; // another platform that merely offers the interface (offscreen)
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&std::free)> reply(
        xcb_translate_coordinates_reply(
            connection, xcb_translate_coordinates(connection, xcb_window_t(window->winId()), root, 0, 0), nullptr),
        &std::free);
    if (!reply) {
        return std::nullopt;
    }
    return QPoint(reply->dst_x, reply->dst_y);
}
