// One window's state as reading and setting a placement need it: ICCCM and EWMH state, geometry in root
// coordinates, frame and client-side-decoration extents, size hints, desktop, and Framewright's restore record.
// All of it is requested in one batch.
#pragma once

#include "platform/windowsystem.h"
#include "x11geometry.h"
#include "x11requests.h"
#include "x11windowmanager.h"

#include <optional>

namespace platform::x11 {

constexpr uint32_t kAllDesktops = 0xFFFFFFFF; // _NET_WM_DESKTOP of a window shown on every desktop

struct WindowState
{
    xcb_window_t window = XCB_NONE;
    std::optional<WmState> wmState; // empty: no WM_STATE, no window manager has taken the window
    bool hidden = false;
    bool maximizedVert = false;
    bool maximizedHorz = false;
    bool fullscreen = false;
    std::optional<uint32_t> desktop;
    SizeHints hints;
    Decoration decoration;
    QRect client; // the client's inside, root coordinates
    std::optional<RestoreRecord> record;

    bool managed() const { return wmState == WmState::Normal || wmState == WmState::Iconic; }
    bool maximized() const { return maximizedVert && maximizedHorz; }
    QRect outer() const { return outerRect(client, decoration); }
};

// Sends the requests on construction; get() collects them. Empty when the window is gone.
class WindowStateRequest
{
public:
    WindowStateRequest(const X11Connection &connection, xcb_window_t window);
    std::optional<WindowState> get();

private:
    // Reads the client's geometry again with its frame's, so that both are of one moment.
    void readFrameFromAncestor(WindowState &state, xcb_window_t parent);

    const X11Connection &m_connection;
    xcb_window_t m_window;
    PendingGeometry m_geometry;
    PendingTranslation m_translation;
    PendingTree m_tree;
    PendingProperty m_wmState, m_netWmState, m_desktop, m_frameExtents, m_clientSideExtents, m_normalHints, m_record;
};

// The show state: minimized is Iconic with _NET_WM_STATE_HIDDEN, or Iconic alone where the window manager has no
// HIDDEN (some window managers make windows on other desktops Iconic, which is not minimized); maximized is both
// MAXIMIZED states.
ShowState showState(const WindowState &state, const WindowManager &wm, const Atoms &atoms);

// Whether a maximized window's outer rectangle now is the same maximizing as the one recorded: it holds the recorded
// one's centre. A window manager may change a maximized window's rectangle after it was recorded (fluxbox maximizes
// in two steps, KWin rounds a window with resize increments once more), but it stays over the same monitor, and a
// window maximized over another monitor does not reach this one's inside.
bool sameMaximizedPlace(const QRect &recorded, const QRect &current);

// Whether the record on a maximized window still describes it: Framewright maximized it and it has not been
// maximized again elsewhere since (its maximized outer rectangle is the same maximizing as the one recorded).
bool recordMatches(const WindowState &state);

// The window's top-level ancestor (its frame, or the window itself without a reparenting window manager);
// XCB_NONE when it is gone.
xcb_window_t topLevelAncestor(const X11Connection &connection, xcb_window_t window);

} // namespace platform::x11
