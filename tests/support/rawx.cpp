// Raw X access for tests: one request at a time, read straight from the replies.
#include "rawx.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

template<typename T> using Owned = std::unique_ptr<T, decltype(&std::free)>;

template<typename T> Owned<T> owned(T *reply)
{
    return Owned<T>(reply, &std::free);
}

constexpr quint32 kMaxPropertyLongs = 1 << 16;

} // namespace

RawX::RawX(const char *display)
{
    xcb_connection_t *connection = xcb_connect(display, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return;
    }
    m_connection = connection;
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
}

RawX::~RawX()
{
    if (m_connection) {
        xcb_disconnect(m_connection);
    }
}

void RawX::sync()
{
    owned(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
}

xcb_atom_t RawX::atom(const char *name)
{
    const auto reply = owned(xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, quint16(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

std::vector<quint32> RawX::values(xcb_window_t window, const char *property)
{
    const auto reply = owned(xcb_get_property_reply(m_connection,
        xcb_get_property(m_connection, 0, window, atom(property), XCB_ATOM_ANY, 0, kMaxPropertyLongs), nullptr));
    if (!reply || reply->format != 32) {
        return {};
    }
    const auto *data = static_cast<const quint32 *>(xcb_get_property_value(reply.get()));
    return std::vector<quint32>(data, data + xcb_get_property_value_length(reply.get()) / 4);
}

bool RawX::exists(xcb_window_t window)
{
    return bool(owned(xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr)));
}

quint32 RawX::wmState(xcb_window_t window)
{
    const std::vector<quint32> state = values(window, "WM_STATE");
    return state.empty() ? 0 : state[0];
}

bool RawX::viewable(xcb_window_t window)
{
    const auto attributes = owned(
        xcb_get_window_attributes_reply(m_connection, xcb_get_window_attributes(m_connection, window), nullptr));
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

bool RawX::hasState(xcb_window_t window, const char *state)
{
    const std::vector<quint32> states = values(window, "_NET_WM_STATE");
    return std::find(states.begin(), states.end(), atom(state)) != states.end();
}

std::optional<QRect> RawX::clientRect(xcb_window_t window)
{
    const auto geometry = owned(xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr));
    const auto position = owned(xcb_translate_coordinates_reply(
        m_connection, xcb_translate_coordinates(m_connection, window, m_root, 0, 0), nullptr));
    if (!geometry || !position) {
        return std::nullopt;
    }
    return QRect(position->dst_x, position->dst_y, geometry->width, geometry->height);
}

std::optional<QRect> RawX::outerFromExtents(xcb_window_t window)
{
    const std::optional<QRect> client = clientRect(window);
    if (!client) {
        return std::nullopt;
    }
    std::vector<quint32> frame = values(window, "_NET_FRAME_EXTENTS");
    std::vector<quint32> csd = values(window, "_GTK_FRAME_EXTENTS");
    frame.resize(4);
    csd.resize(4);
    const auto side = [&](int i) { return int(frame[i]) - int(csd[i]); };
    return client->adjusted(-side(0), -side(2), side(1), side(3));
}

std::optional<xcb_window_t> RawX::frameOf(xcb_window_t window)
{
    for (;;) {
        const auto tree = owned(xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, window), nullptr));
        if (!tree) {
            return std::nullopt;
        }
        if (tree->parent == m_root) {
            return window;
        }
        window = tree->parent;
    }
}

std::optional<QRect> RawX::outerFromFrame(xcb_window_t window)
{
    const std::optional<xcb_window_t> top = frameOf(window);
    if (!top) {
        return std::nullopt;
    }
    const auto geometry = owned(xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, *top), nullptr));
    if (!geometry) {
        return std::nullopt;
    }
    std::vector<quint32> csd = values(window, "_GTK_FRAME_EXTENTS");
    csd.resize(4);
    const int border = geometry->border_width;
    const QRect frame = QRect(geometry->x, geometry->y, geometry->width + 2 * border, geometry->height + 2 * border)
                            .adjusted(int(csd[0]), int(csd[2]), -int(csd[1]), -int(csd[3]));
    const std::optional<QRect> visible = outerFromExtents(window);
    if (!visible || values(window, "_NET_FRAME_EXTENTS").size() != 4) {
        return visible ? std::optional<QRect>(frame) : std::nullopt;
    }
    const int invisible = visible->left() - frame.left();
    const bool even = invisible > 0 && frame.adjusted(invisible, invisible, -invisible, -invisible) == *visible;
    return even ? *visible : frame;
}

void RawX::sendMessage(xcb_window_t window, const char *type, std::initializer_list<quint32> data)
{
    xcb_client_message_event_t message {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom(type);
    std::copy(data.begin(), data.end(), message.data.data32);
    xcb_send_event(m_connection, 0, m_root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char *>(&message));
    xcb_flush(m_connection);
}

void RawX::setMaximized(xcb_window_t window, bool maximized)
{
    // Source 1: an application's own request, as a user's click on the window's maximize button becomes.
    sendMessage(window, "_NET_WM_STATE",
        {maximized ? 1u : 0u, atom("_NET_WM_STATE_MAXIMIZED_VERT"), atom("_NET_WM_STATE_MAXIMIZED_HORZ"), 1});
}

void RawX::activate(xcb_window_t window)
{
    sendMessage(window, "_NET_ACTIVE_WINDOW", {2, XCB_CURRENT_TIME, 0});
}

void RawX::moveToDesktop(xcb_window_t window, quint32 desktop)
{
    sendMessage(window, "_NET_WM_DESKTOP", {desktop, 2});
}

void RawX::switchToDesktop(quint32 desktop)
{
    sendMessage(m_root, "_NET_CURRENT_DESKTOP", {desktop, XCB_CURRENT_TIME});
}

std::optional<quint32> RawX::currentDesktop()
{
    const std::vector<quint32> desktop = values(m_root, "_NET_CURRENT_DESKTOP");
    return desktop.empty() ? std::nullopt : std::optional<quint32>(desktop[0]);
}

bool RawX::listed(xcb_window_t window)
{
    const std::vector<quint32> windows = values(m_root, "_NET_CLIENT_LIST");
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

std::vector<quint32> RawX::stackingTopmostFirst()
{
    const auto tree = owned(xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr));
    if (!tree) {
        return {};
    }
    const xcb_window_t *children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    // QueryTree lists the root's children bottom to top.
    const auto height = [&](xcb_window_t client) {
        const xcb_window_t frame = frameOf(client).value_or(XCB_NONE);
        return std::find(children, children + count, frame) - children;
    };
    std::vector<std::pair<long, quint32>> stacked;
    for (const quint32 client : values(m_root, "_NET_CLIENT_LIST")) {
        stacked.emplace_back(height(client), client);
    }
    std::sort(stacked.rbegin(), stacked.rend());
    std::vector<quint32> windows;
    for (const auto &[height, client] : stacked) {
        windows.push_back(client);
    }
    return windows;
}
