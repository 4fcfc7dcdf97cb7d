// Native geometry queries, placement and the synthetic ConfigureNotify, on Qt's own xcb connection.
#include "nativeposition.h"
#include "screenpixels.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHash>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <QWindow>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace {

template<typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

// A window manager may move a window by moving only its frame window and tell the window nothing (openbox does
// so when it maximizes a frameless window). The frame windows of synced windows are watched for their own
// ConfigureNotify, after which the window is synced again.
class FrameMoveWatch : public QAbstractNativeEventFilter
{
public:
    static FrameMoveWatch &instance()
    {
        static auto *watch = [] {
            auto *created = new FrameMoveWatch;
            QCoreApplication::instance()->installNativeEventFilter(created);
            return created;
        }();
        return *watch;
    }

    void follow(xcb_connection_t *connection, QWindow *window)
    {
        const xcb_window_t id = xcb_window_t(window->winId());
        Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection, xcb_query_tree(connection, id), nullptr), &std::free);
        if (!tree || tree->parent == tree->root || tree->parent == XCB_NONE || m_frames.contains(tree->parent)) {
            return;
        }
        const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection, tree->parent, XCB_CW_EVENT_MASK, &mask);
        m_frames.insert(tree->parent, window);
    }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "xcb_generic_event_t") {
            return false;
        }
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & 0x7F) != XCB_CONFIGURE_NOTIFY) {
            return false;
        }
        const auto *notify = reinterpret_cast<const xcb_configure_notify_event_t *>(event);
        const auto frame = m_frames.find(notify->window);
        if (frame == m_frames.end()) {
            return false;
        }
        QPointer<QWindow> window = frame.value();
        if (!window) {
            m_frames.erase(frame);
            return false;
        }
        QMetaObject::invokeMethod(
            window, [window] { syncWithServerGeometry(window); }, Qt::QueuedConnection);
        return false;
    }

private:
    QHash<xcb_window_t, QPointer<QWindow>> m_frames;
};

} // namespace

xcb_connection_t *xcbConnectionOf(QWindow *window)
{
    const auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !window || !window->handle()) {
        return nullptr;
    }
    return x11->connection(); // null on other platforms that merely offer the interface (offscreen)
}

std::optional<QPoint> nativeRootPosition(QWindow *window)
{
    xcb_connection_t *connection = xcbConnectionOf(window);
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

std::optional<QPoint> serverOuterPositionPx(const QWidget *window)
{
    QWindow *handle = window->windowHandle();
    const std::optional<QPoint> clientPx = nativeRootPosition(handle);
    if (!clientPx) {
        return std::nullopt;
    }
    const QMargins frame = handle->frameMargins(); // Qt's pixels, from the window manager's _NET_FRAME_EXTENTS
    return *clientPx - QPoint(frame.left(), frame.top()) * scaleAtScreenPx(*clientPx);
}

bool placeNativeWindow(QWindow *window, QPoint topLeftPx)
{
    xcb_connection_t *connection = xcbConnectionOf(window);
    if (!connection) {
        return false;
    }
    const uint32_t values[] = {uint32_t(topLeftPx.x()), uint32_t(topLeftPx.y())};
    xcb_configure_window(connection, xcb_window_t(window->winId()), XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, values);
    xcb_flush(connection);
    return true;
}

void flushNativeRequests(QWindow *window)
{
    if (xcb_connection_t *connection = xcbConnectionOf(window)) {
        xcb_flush(connection);
    }
}

void syncWithServerGeometry(QWindow *window)
{
    xcb_connection_t *connection = xcbConnectionOf(window);
    const std::optional<QPoint> position = nativeRootPosition(window);
    if (!connection || !position) {
        return;
    }
    FrameMoveWatch::instance().follow(connection, window);
    const auto id = xcb_window_t(window->winId());
    Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), nullptr), &std::free);
    // The server's rectangle is in screen pixels, Qt's in its own.
    if (!geometry
        || QRect(*position, QSize(geometry->width, geometry->height)) == screenPxFromLogical(window->geometry())) {
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
