// Reading one window's state in one batch, with the frame found from the window tree where the window manager
// publishes no _NET_FRAME_EXTENTS.
#include "x11windowstate.h"

#include <algorithm>

namespace platform::x11 {

namespace {

// _NET_WM_STATE entries looked at; EWMH defines 13 states.
constexpr uint32_t kMaxStates = 64;
constexpr uint32_t kSizeHintsLongs = 18;
// Levels between a client and the root window: frames nest one or two deep in real window managers.
constexpr int kMaxAncestorDepth = 8;

int clampExtent(int value)
{
    return std::clamp(value, 0, kMaxExtentPx);
}

} // namespace

WindowStateRequest::WindowStateRequest(const X11Connection &connection, xcb_window_t window)
    : m_connection(connection)
    , m_window(window)
{
    xcb_connection_t *c = connection.get();
    const Atoms &atoms = connection.atoms();
    m_geometry = PendingGeometry(c, xcb_get_geometry(c, window));
    m_translation = PendingTranslation(c, xcb_translate_coordinates(c, window, connection.root(), 0, 0));
    m_tree = PendingTree(c, xcb_query_tree(c, window));
    m_wmState = PendingProperty(c, window, atoms.wmState, 2);
    m_netWmState = PendingProperty(c, window, atoms.netWmState, kMaxStates);
    m_desktop = PendingProperty(c, window, atoms.netWmDesktop, 1);
    m_frameExtents = PendingProperty(c, window, atoms.netFrameExtents, 4);
    m_clientSideExtents = PendingProperty(c, window, atoms.gtkFrameExtents, 4);
    m_normalHints = PendingProperty(c, window, XCB_ATOM_WM_NORMAL_HINTS, kSizeHintsLongs);
    m_record = PendingProperty(c, window, atoms.framewrightRestoreRect, kRestoreRecordItems);
}

std::optional<WindowState> WindowStateRequest::get()
{
    const Atoms &atoms = m_connection.atoms();
    const Reply<xcb_get_geometry_reply_t> geometry = m_geometry.get();
    const Reply<xcb_translate_coordinates_reply_t> translation = m_translation.get();
    const Reply<xcb_query_tree_reply_t> tree = m_tree.get();
    const Property wmState = m_wmState.get();
    const Property netWmState = m_netWmState.get();
    const Property desktop = m_desktop.get();
    const Property frameExtents = m_frameExtents.get();
    const Property clientSideExtents = m_clientSideExtents.get();
    const Property normalHints = m_normalHints.get();
    const Property record = m_record.get();
    if (!geometry || !translation || !tree || !wmState.received() || !netWmState.received()) {
        return std::nullopt;
    }

    WindowState state;
    state.window = m_window;
    state.wmState = parseWmState(wmState.value(), atoms.wmState);
    for (const uint32_t atom : values32(netWmState.value(), XCB_ATOM_ATOM, kMaxStates)) {
        state.hidden = state.hidden || atom == atoms.netWmStateHidden;
        state.maximizedVert = state.maximizedVert || atom == atoms.netWmStateMaximizedVert;
        state.maximizedHorz = state.maximizedHorz || atom == atoms.netWmStateMaximizedHorz;
        state.fullscreen = state.fullscreen || atom == atoms.netWmStateFullscreen;
    }
    state.desktop = value32(desktop.value(), XCB_ATOM_CARDINAL);
    state.hints = parseSizeHints(normalHints.value(), XCB_ATOM_WM_SIZE_HINTS);
    state.decoration.borderWidth = clampExtent(geometry->border_width);
    state.decoration.clientSide = parseExtents(clientSideExtents.value(), XCB_ATOM_CARDINAL).value_or(Extents {});
    state.client = QRect(translation->dst_x, translation->dst_y, geometry->width, geometry->height);
    state.record = parseRestoreRecord(record.value(), XCB_ATOM_INTEGER);
    if (const auto extents = parseExtents(frameExtents.value(), XCB_ATOM_CARDINAL)) {
        state.decoration.frame = *extents;
    } else if (tree->parent != m_connection.root() && tree->parent != XCB_NONE) {
        readFrameFromAncestor(state, tree->parent);
    }
    return state;
}

// A window manager without _NET_FRAME_EXTENTS: the frame is the top-level ancestor, and the extents are what
// lies between its outer edge and the client's. The client's geometry is read again together with the frame's
// under a server grab, held only while the server carries out these pipelined requests: a window manager that
// moves and resizes the frame between the batch and this read (KWin does) would otherwise have the client of one
// moment measured against the frame of another, and the extents off by the change.
void WindowStateRequest::readFrameFromAncestor(WindowState &state, xcb_window_t parent)
{
    xcb_connection_t *c = m_connection.get();
    const xcb_window_t frame = topLevelAncestor(m_connection, parent);
    if (frame == XCB_NONE) {
        return;
    }
    xcb_grab_server(c);
    PendingGeometry clientRequest(c, xcb_get_geometry(c, m_window));
    PendingTranslation translationRequest(c, xcb_translate_coordinates(c, m_window, m_connection.root(), 0, 0));
    PendingGeometry frameRequest(c, xcb_get_geometry(c, frame));
    xcb_ungrab_server(c);
    const Reply<xcb_get_geometry_reply_t> client = clientRequest.get();
    const Reply<xcb_translate_coordinates_reply_t> translation = translationRequest.get();
    const Reply<xcb_get_geometry_reply_t> geometry = frameRequest.get();
    if (!client || !translation || !geometry) {
        return; // gone meanwhile: the batch's reading stands, without a frame
    }
    const int border = clampExtent(client->border_width);
    state.decoration.borderWidth = border;
    state.client = QRect(translation->dst_x, translation->dst_y, client->width, client->height);
    const QRect box = state.client.adjusted(-border, -border, border, border);
    const int frameWidth = geometry->width + 2 * geometry->border_width;
    const int frameHeight = geometry->height + 2 * geometry->border_width;
    state.decoration.frame
        = Extents {clampExtent(box.x() - geometry->x), clampExtent(geometry->x + frameWidth - box.x() - box.width()),
            clampExtent(box.y() - geometry->y), clampExtent(geometry->y + frameHeight - box.y() - box.height())};
    state.decoration.frameFromTree = true;
}

ShowState showState(const WindowState &state, const WindowManager &wm, const Atoms &atoms)
{
    const bool iconic = state.wmState == WmState::Iconic;
    if (iconic && (state.hidden || !wm.supports(atoms.netWmStateHidden))) {
        return ShowState::Minimized;
    }
    return state.maximized() ? ShowState::Maximized : ShowState::Normal;
}

bool recordMatches(const WindowState &state)
{
    if (!state.record || !state.maximized()) {
        return false;
    }
    const RestoreRecord &r = *state.record;
    return sameMaximizedPlace(QRect(r.maximizedX, r.maximizedY, r.maximizedWidth, r.maximizedHeight), state.outer());
}

bool sameMaximizedPlace(const QRect &recorded, const QRect &current)
{
    return current.contains(recorded.center());
}

xcb_window_t topLevelAncestor(const X11Connection &connection, xcb_window_t window)
{
    xcb_connection_t *c = connection.get();
    for (int depth = 0; depth < kMaxAncestorDepth; ++depth) {
        const Reply<xcb_query_tree_reply_t> tree = PendingTree(c, xcb_query_tree(c, window)).get();
        if (!tree) {
            return XCB_NONE;
        }
        if (tree->parent == connection.root() || tree->parent == XCB_NONE) {
            return window;
        }
        window = tree->parent;
    }
    return window;
}

} // namespace platform::x11
