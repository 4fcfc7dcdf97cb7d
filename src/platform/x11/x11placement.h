// Setting a window's placement so that its outer rectangle lands exactly, under any EWMH window manager, under a
// window manager without EWMH, and on a bare X server.
#pragma once

#include "platform/windowsystem.h"
#include "x11events.h"
#include "x11restorerecords.h"
#include "x11windowstate.h"

#include <functional>
#include <memory>

namespace platform::x11 {

// One setting of one window; an object lives for one setWindowPlacement.
//
// Under an EWMH window manager, the sequence measured to land windows exactly (and that KWin, mutter, xfwm4 and
// i3 require): (1) switch to the window's desktop; (2) restore a minimized window and wait until it is Normal and
// its frame has stopped moving (window managers animate this); (3) take away maximized and fullscreen (KWin
// refuses to move maximized windows, others constrain them) and wait; (4) read the frame extents again, since they
// differ between maximized and normal; (5) _NET_MOVERESIZE_WINDOW from a pager (source 2) with the window's own
// gravity and the ICCCM reference point of that gravity; (6) wait (asking again when the frame's extents changed
// meanwhile), compare the outer rectangle with the expected one and correct at most once, naming the frame's
// corner; (7) maximize, which makes the rectangle just set the restore rectangle, and record it on the window;
// (8) activate. Each wait is the window-manager barrier, or the window's own events where there is none or it is
// answered only for the root window, bounded by kWaitMs.
class EventSelection;

class PlacementSetter
{
public:
    static constexpr int kWaitMs = 1000;

    // `barrierAnswered`: false once this window manager has left a barrier unanswered; its waits then follow the
    // windows' own events.
    PlacementSetter(X11Connection &connection, EventPump &events, RestoreRecords &records, const WindowManager &wm,
        bool barrierAnswered);
    ~PlacementSetter();

    // False when the window is gone or did not end with the placement asked for. `state` is the window's state,
    // read in the same batch as the window manager's (empty: the window is gone).
    bool set(std::optional<WindowState> state, const WindowPlacement &placement);
    // Whether a barrier went unanswered during set().
    bool barrierUnanswered() const { return m_barrierUnanswered; }

private:
    using Done = std::function<bool(const WindowState &)>;
    // How a setting learns that what it sent has been carried out.
    enum class Wait {
        Barrier, // the window-manager barrier
        Events,  // a window manager without the barrier: the window's own events, until done or the deadline
        None,    // no window manager: the server has carried a request out before it answers the next one
    };

    std::optional<WindowState> read(xcb_window_t window);
    // The state once what was sent has been carried out. After the barrier that is the state right then, unless
    // `untilDone` (the window manager animates): then, as without a barrier, the window's events are waited for
    // until `done` holds or the wait times out. A reading that is not `steady` (the window manager half way through)
    // never ends the wait, after the barrier either.
    std::optional<WindowState> settle(xcb_window_t window, const Done &done, bool untilDone, const Done &steady = {});
    xcb_timestamp_t timestamp();
    // Selects the window's (and its frame's) events on our connection until the setting ends, for waits that
    // need them.
    void watch(xcb_window_t window);

    std::optional<WindowState> switchDesktop(const WindowState &state);
    std::optional<WindowState> restoreMinimized(const WindowState &state);
    std::optional<WindowState> leaveMaximized(const WindowState &state);
    std::optional<WindowState> moveResize(
        const WindowState &state, const QRect &target, Qt::Alignment anchor, bool *exact);
    // `before`: the outer rectangle the window had maximized when the setting began.
    bool maximize(const WindowState &state, const QRect &asked, const std::optional<QRect> &before);
    // Whether the window asks for a frame (_MOTIF_WM_HINTS); one round trip.
    bool asksForFrame(xcb_window_t window);
    void activate(xcb_window_t window);
    bool setUnmanaged(const WindowState &state, const WindowPlacement &placement);

    void sendState(xcb_window_t window, bool add, xcb_atom_t first, xcb_atom_t second);
    // `gravity` names the reference point of the request's position; ConfigureWindow always uses the window's own.
    void sendMoveResize(const WindowState &state, const ClientRequest &request, uint32_t gravity);
    bool windowManagerRedirects();

    X11Connection &m_connection;
    EventPump &m_events;
    RestoreRecords &m_records;
    const WindowManager &m_wm;
    Wait m_wait = Wait::Events;
    bool m_configureDirectly = false; // ConfigureWindow rather than _NET_MOVERESIZE_WINDOW
    bool m_barrierPassed = false;     // since then the helper window's last change time is a current server time
    bool m_barrierUnanswered = false;
    xcb_timestamp_t m_time = XCB_CURRENT_TIME;
    std::unique_ptr<EventSelection> m_selection;
};

} // namespace platform::x11
