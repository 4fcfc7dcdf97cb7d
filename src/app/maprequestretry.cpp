// The map-state check and the repeated map request go through Qt's own X connection, on the window's own id.
#include "maprequestretry.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

void MapRequestRetry::watch(QWidget *window)
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || window == nullptr || !window->isWindow()) {
        return;
    }
    new MapRequestRetry(window);
}

MapRequestRetry::MapRequestRetry(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &MapRequestRetry::check);
    m_timer.start();
}

void MapRequestRetry::check()
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || !m_window || !m_window->isVisible()) {
        deleteLater();
        return;
    }
    xcb_connection_t *connection = x11->connection();
    const auto window = xcb_window_t(m_window->winId());
    const std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> attributes(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr),
        &std::free);
    if (!attributes || attributes->map_state != XCB_MAP_STATE_UNMAPPED || ++m_requests > kMaxRequests) {
        deleteLater();
        return;
    }
    xcb_map_window(connection, window);
    xcb_flush(connection);
}
