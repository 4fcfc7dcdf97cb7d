// The placement sequence, its waits, and the fallbacks for window managers without EWMH and bare X servers.
#include "x11placement.h"

#include <memory>

namespace platform::x11 {

namespace {

// EWMH message fields.
constexpr uint32_t kSourcePager = 2;
constexpr uint32_t kStateRemove = 0;
constexpr uint32_t kStateAdd = 1;
constexpr uint32_t kMoveResizeAllFields = (1u << 8) | (1u << 9) | (1u << 10) | (1u << 11);
constexpr uint32_t kMoveResizeSourceShift = 12;

bool sameGeometry(const QRect &a, const QRect &b)
{
    return a.topLeft() == b.topLeft() && a.size() == b.size();
}

} // namespace

// While a setting waits for a window's own events: our connection's selection on the client (property changes,
// configure notifications) and on its frame (whose moves show animations), undone when the setting ends.
class EventSelection
{
public:
    EventSelection(X11Connection &connection, const RestoreRecords &records, xcb_window_t client, xcb_window_t frame)
        : m_connection(connection)
        , m_records(records)
        , m_client(client)
        , m_frame(frame)
    {
        select(m_client, XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE);
        if (m_frame != m_client && m_frame != XCB_NONE) {
            select(m_frame, XCB_EVENT_MASK_STRUCTURE_NOTIFY);
        }
    }
    ~EventSelection()
    {
        select(m_client, m_records.restingEventMask(m_client));
        if (m_frame != m_client && m_frame != XCB_NONE) {
            select(m_frame, XCB_EVENT_MASK_NO_EVENT);
        }
    }
    EventSelection(const EventSelection &) = delete;
    EventSelection &operator=(const EventSelection &) = delete;

private:
    // Unchecked: for a window that is gone the error lands in the event queue, which is drained.
    void select(xcb_window_t window, uint32_t mask)
    {
        xcb_change_window_attributes(m_connection.get(), window, XCB_CW_EVENT_MASK, &mask);
    }

    X11Connection &m_connection;
    const RestoreRecords &m_records;
    xcb_window_t m_client;
    xcb_window_t m_frame;
};

PlacementSetter::PlacementSetter(X11Connection &connection, EventPump &events, RestoreRecords &records,
    const WindowManager &wm, bool barrierAnswered)
    : m_connection(connection)
    , m_events(events)
    , m_records(records)
    , m_wm(wm)
    , m_wait(wm.supports(connection.atoms().netRequestFrameExtents) && barrierAnswered ? Wait::Barrier : Wait::Events)
    , m_configureDirectly(!wm.supports(connection.atoms().netMoveResizeWindow))
{ }

PlacementSetter::~PlacementSetter() = default;

bool PlacementSetter::set(std::optional<WindowState> state, const WindowPlacement &placement)
{
    if (!state) {
        return false;
    }
    const xcb_window_t window = state->window;
    if (!m_wm.ewmh || !state->managed()) {
        return setUnmanaged(*state, placement);
    }
    if (m_wait == Wait::Events) {
        watch(window);
    }
    state = switchDesktop(*state);
    bool restored = true;
    if (state && state->wmState == WmState::Iconic) {
        state = restoreMinimized(*state);
        restored = state && state->wmState == WmState::Normal;
    }
    std::optional<QRect> maximizedBefore;
    if (state && (state->maximizedVert || state->maximizedHorz || state->fullscreen)) {
        if (state->maximized() && !state->fullscreen) {
            maximizedBefore = state->outer();
        }
        state = leaveMaximized(*state);
    }
    bool exact = false;
    QRect asked;
    if (state) {
        asked = expectedOuterRect(placement.normalRect, state->hints, state->decoration, placement.anchor);
        state = moveResize(*state, placement.normalRect, placement.anchor, &exact);
    }
    if (!state) {
        return false;
    }
    if (placement.showState == ShowState::Maximized) {
        exact = maximize(*state, asked, maximizedBefore) && exact;
    } else if (state->record) {
        m_records.erase(window);
    }
    activate(window);
    return exact && restored;
}

void PlacementSetter::watch(xcb_window_t window)
{
    if (!m_selection) {
        m_selection
            = std::make_unique<EventSelection>(m_connection, m_records, window, topLevelAncestor(m_connection, window));
    }
}

std::optional<WindowState> PlacementSetter::read(xcb_window_t window)
{
    return WindowStateRequest(m_connection, window).get();
}

std::optional<WindowState> PlacementSetter::settle(
    xcb_window_t window, const Done &done, bool untilDone, const Done &steady)
{
    const QDeadlineTimer deadline(kWaitMs);
    if (m_wait == Wait::Barrier) {
        if (m_events.barrier(deadline)) {
            m_barrierPassed = true;
            if (m_events.barrierOnRootOnly()) {
                m_wait = Wait::Events;
                watch(window);
            }
        } else {
            // A window manager that lists _NET_REQUEST_FRAME_EXTENTS but answers it for neither window, or not in
            // time: from now on the window's own events tell when what was sent has been carried out.
            m_barrierUnanswered = true;
            m_wait = Wait::Events;
            watch(window);
        }
    }
    const bool untilSteady = m_wait == Wait::Barrier && !untilDone;
    const auto finished = [&](const WindowState &s) {
        const bool isSteady = !steady || steady(s);
        return untilSteady ? isSteady : isSteady && done(s);
    };
    std::optional<WindowState> state = read(window);
    if (!state || m_wait == Wait::None || finished(*state)) {
        return state;
    }
    while (m_events.waitForEvent(deadline)) {
        m_events.drain();
        state = read(window);
        if (!state || finished(*state)) {
            return state;
        }
    }
    qCDebug(lcX11) << "window" << Qt::hex << window << "did not settle within" << Qt::dec << kWaitMs << "ms";
    return state;
}

xcb_timestamp_t PlacementSetter::timestamp()
{
    if (m_time == XCB_CURRENT_TIME) {
        m_time = m_barrierPassed ? m_events.lastServerTime() : m_events.serverTime(QDeadlineTimer(kWaitMs));
    }
    return m_time;
}

std::optional<WindowState> PlacementSetter::switchDesktop(const WindowState &state)
{
    if (!state.desktop || !m_wm.currentDesktop || *state.desktop == kAllDesktops
        || *state.desktop == *m_wm.currentDesktop) {
        return state;
    }
    m_events.sendRootMessage(
        m_connection.root(), m_connection.atoms().netCurrentDesktop, {*state.desktop, timestamp()});
    return settle(
        state.window, [](const WindowState &) { return true; }, false);
}

std::optional<WindowState> PlacementSetter::restoreMinimized(const WindowState &state)
{
    const xcb_window_t frame = topLevelAncestor(m_connection, state.window);
    watch(state.window);
    xcb_map_window(m_connection.get(), state.window);
    m_events.sendRootMessage(state.window, m_connection.atoms().netActiveWindow, {kSourcePager, timestamp(), 0});
    // Normal, and the frame holds the whole outer rectangle again: an animating window manager (openbox) moves and
    // shrinks the frame until the animation ends. The frame may be larger than the outer rectangle: marco's frame
    // window carries invisible borders for resizing around the visible frame.
    return settle(
        state.window,
        [this, frame](const WindowState &s) {
            if (s.wmState != WmState::Normal) {
                return false;
            }
            if (frame == s.window || frame == XCB_NONE) {
                return true;
            }
            xcb_connection_t *c = m_connection.get();
            const Reply<xcb_get_geometry_reply_t> g = PendingGeometry(c, xcb_get_geometry(c, frame)).get();
            Decoration frameOnly = s.decoration;
            frameOnly.clientSide = {};
            return g
                && QRect(g->x, g->y, g->width + 2 * g->border_width, g->height + 2 * g->border_width)
                       .contains(outerRect(s.client, frameOnly));
        },
        true);
}

std::optional<WindowState> PlacementSetter::leaveMaximized(const WindowState &state)
{
    const Atoms &atoms = m_connection.atoms();
    watch(state.window);
    if (state.maximizedVert || state.maximizedHorz) {
        sendState(state.window, false, atoms.netWmStateMaximizedVert, atoms.netWmStateMaximizedHorz);
    }
    if (state.fullscreen) {
        sendState(state.window, false, atoms.netWmStateFullscreen, XCB_ATOM_NONE);
    }
    // The states go at once, but metacity gives the window its rectangle and then the frame its borders back
    // (_NET_FRAME_EXTENTS) later, from its main loop, after it has answered the barrier: a move sent before that
    // would be measured with the extents of the full screen. The window's events are waited for until the window
    // has left the rectangle or the extents it had, and a full-screen window without extents that asks for a frame
    // has extents again (a window that keeps its rectangle and its extents waits out the deadline).
    const bool bordersComing = state.fullscreen && state.decoration.frame == Extents() && asksForFrame(state.window);
    return settle(
        state.window,
        [&state, bordersComing](const WindowState &s) {
            return !s.maximizedVert && !s.maximizedHorz && !s.fullscreen
                && (s.decoration != state.decoration || !sameGeometry(s.outer(), state.outer()))
                && (!bordersComing || s.decoration.frame != Extents());
        },
        true);
}

bool PlacementSetter::asksForFrame(xcb_window_t window)
{
    const Atoms &atoms = m_connection.atoms();
    PendingProperty hints(m_connection.get(), window, atoms.motifWmHints, 5);
    return wantsDecorations(hints.get().value(), atoms.motifWmHints);
}

std::optional<WindowState> PlacementSetter::moveResize(
    const WindowState &state, const QRect &target, Qt::Alignment anchor, bool *exact)
{
    QRect expected = expectedOuterRect(target, state.hints, state.decoration, anchor);
    if (sameGeometry(state.outer(), expected)) {
        *exact = true;
        return state;
    }
    // Extents worked out from the window tree are the frame's alone and do not change with the window's size; other
    // ones are a reading taken after the window manager has resized the frame and before it has resized the client
    // (KWin, seen with 5.27): their outer rectangle is the frame's new one while the client keeps its old size.
    // Such a reading is not the window's placement; the client's configure notification is waited for.
    const Done steady = [&state](const WindowState &s) {
        return !s.decoration.frameFromTree || s.decoration.frame == state.decoration.frame;
    };
    if (state.decoration.frameFromTree) {
        watch(state.window);
    }
    // The size asked for or, for a window with an aspect range, one a pixel off it: window managers keep the range
    // in floating point and round their own way (KWin 5.27 makes a 16:9 client one pixel narrower than asked for).
    const auto sizeTaken = [&](const WindowState &s) {
        const QSize frame = s.outer().size() - s.client.size();
        return s.outer().size() == expected.size()
            || withinAspectRounding(s.hints, s.client.size(), expected.size() - frame);
    };
    const auto landed = [&](const WindowState &s) {
        const QRect outer = s.outer();
        return steady(s) && sizeTaken(s) && outer.topLeft() == anchoredRect(target, outer.size(), anchor).topLeft();
    };
    // Followed through the window's own events, the window manager has carried the request out once the window has
    // the size asked for and has moved or changed: what is left then is an offset (KWin rounds the reference point
    // of Center gravity the other way when the frame's extents are odd), which the correction takes away at once.
    const auto taken = [&](const WindowState &s) {
        return landed(s) || (steady(s) && sizeTaken(s) && !sameGeometry(s.outer(), state.outer()));
    };
    sendMoveResize(state, clientRequestFor(expected, state.decoration, state.hints.gravity), state.hints.gravity);
    std::optional<WindowState> moved = settle(state.window, taken, false, steady);
    if (moved && steady(*moved) && moved->decoration != state.decoration) {
        // The frame's extents changed meanwhile (metacity gives a window that leaves the full screen its borders
        // back late): the request is made again for the extents the frame has now.
        expected = expectedOuterRect(target, moved->hints, moved->decoration, anchor);
        sendMoveResize(
            *moved, clientRequestFor(expected, moved->decoration, moved->hints.gravity), moved->hints.gravity);
        moved = settle(state.window, landed, false, steady);
    }
    if (moved && steady(*moved) && !landed(*moved)) {
        // Window managers differ in rounding the reference points of the centred gravities (openbox 3.6 places
        // Center and North off by the frame's left side), some keep the reference point of a window whose size
        // they constrain, and icewm reads every position but a static one as the frame's corner and then pulls a
        // client it thinks crosses the monitor's edge back inside. One correction names the corner itself, for
        // the size the window got: a size the window manager would not give is not asked for again, but the
        // window is aligned for it. ConfigureWindow has no gravity of its own; it keeps the window's.
        const QRect outer = moved->outer();
        const QRect aligned = anchoredRect(target, outer.size(), anchor);
        if (outer.topLeft() != aligned.topLeft()) {
            const uint32_t gravity = m_configureDirectly ? moved->hints.gravity : kNorthWestGravity;
            sendMoveResize(*moved, clientRequestFor(aligned, moved->decoration, gravity), gravity);
            moved = settle(
                state.window, [aligned](const WindowState &s) { return sameGeometry(s.outer(), aligned); }, false,
                steady);
        }
    }
    *exact = moved && landed(*moved);
    if (moved && !*exact) {
        qCDebug(lcX11) << "window" << Qt::hex << state.window << "landed at" << moved->outer() << "instead of"
                       << expected;
    }
    return moved;
}

// The restore rectangle recorded is the one asked for, not one read back. marco and metacity set the maximized
// states at once but resize the frame later, from their main loop, after they have answered the barrier, and KWin
// moves the frame to the monitor's corner before it resizes it: the window's events are waited for until it is
// maximized and has another size than the one asked for, or, when that is the rectangle it had maximized before (a
// reading of a window the user maximized, applied again), only until it is maximized. A window asked into its
// maximized size otherwise waits out the deadline.
bool PlacementSetter::maximize(const WindowState &state, const QRect &asked, const std::optional<QRect> &before)
{
    const Atoms &atoms = m_connection.atoms();
    if (!m_wm.supports(atoms.netWmStateMaximizedVert) || !m_wm.supports(atoms.netWmStateMaximizedHorz)) {
        return false;
    }
    watch(state.window);
    sendState(state.window, true, atoms.netWmStateMaximizedVert, atoms.netWmStateMaximizedHorz);
    const bool stays = before && sameGeometry(*before, asked);
    const std::optional<WindowState> maximized = settle(
        state.window,
        [asked, stays](const WindowState &s) { return s.maximized() && (stays || s.outer().size() != asked.size()); },
        true);
    if (!maximized || !maximized->maximized()) {
        return false;
    }
    const QRect outer = maximized->outer();
    m_records.write(state.window,
        {asked.x(), asked.y(), asked.width(), asked.height(), outer.x(), outer.y(), outer.width(), outer.height()},
        state.client.size());
    return true;
}

void PlacementSetter::activate(xcb_window_t window)
{
    if (m_wm.supports(m_connection.atoms().netActiveWindow)) {
        m_events.sendRootMessage(window, m_connection.atoms().netActiveWindow, {kSourcePager, timestamp(), 0});
    }
    xcb_flush(m_connection.get());
}

void PlacementSetter::sendState(xcb_window_t window, bool add, xcb_atom_t first, xcb_atom_t second)
{
    m_events.sendRootMessage(
        window, m_connection.atoms().netWmState, {add ? kStateAdd : kStateRemove, first, second, kSourcePager, 0});
}

void PlacementSetter::sendMoveResize(const WindowState &state, const ClientRequest &request, uint32_t gravity)
{
    if (!m_configureDirectly) {
        const uint32_t flags = gravity | kMoveResizeAllFields | (kSourcePager << kMoveResizeSourceShift);
        m_events.sendRootMessage(state.window, m_connection.atoms().netMoveResizeWindow,
            {flags, static_cast<uint32_t>(request.x), static_cast<uint32_t>(request.y),
                static_cast<uint32_t>(request.width), static_cast<uint32_t>(request.height)});
        return;
    }
    // ConfigureWindow: a reparenting window manager receives it as a ConfigureRequest and reads the position with
    // the window's gravity, like the message; without one the server moves the client itself.
    const uint32_t values[] = {static_cast<uint32_t>(request.x), static_cast<uint32_t>(request.y),
        static_cast<uint32_t>(request.width), static_cast<uint32_t>(request.height)};
    xcb_configure_window(m_connection.get(), state.window,
        XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, values);
}

// Whether some client (a window manager) redirects the root window's children's configure requests.
bool PlacementSetter::windowManagerRedirects()
{
    xcb_connection_t *c = m_connection.get();
    const Reply<xcb_get_window_attributes_reply_t> root
        = PendingAttributes(c, xcb_get_window_attributes(c, m_connection.root())).get();
    return root && (root->all_event_masks & XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT) != 0;
}

// A window that no EWMH window manager manages: ConfigureWindow on the client. On a bare X server it takes effect
// at once; a window manager without EWMH is waited for through the window's events, an EWMH one that has not
// taken the window (it is withdrawn) through the barrier.
bool PlacementSetter::setUnmanaged(const WindowState &state, const WindowPlacement &placement)
{
    if (placement.showState == ShowState::Maximized) {
        qCDebug(lcX11) << "no EWMH window manager manages window" << Qt::hex << state.window << Qt::dec
                       << "- it gets its normal rectangle, not maximized";
    }
    m_configureDirectly = true;
    if (!m_wm.ewmh) {
        m_wait = windowManagerRedirects() ? Wait::Events : Wait::None;
    }
    if (m_wait == Wait::Events) {
        watch(state.window);
    }
    bool exact = false;
    moveResize(state, placement.normalRect, placement.anchor, &exact);
    return exact;
}

} // namespace platform::x11
