// Listing top-level windows topmost first: from the EWMH window manager's _NET_CLIENT_LIST_STACKING, or, without
// one, from the root window's children with frames resolved to their clients through WM_STATE. All requests for
// all windows go out before any answer is read, so a listing costs a fixed number of round trips.
#pragma once

#include "platform/windowsystem.h"
#include "x11connection.h"

#include <vector>

namespace platform::x11 {

// Entries read from _NET_CLIENT_LIST_STACKING, and root children looked at.
constexpr uint32_t kMaxListedWindows = 16384;

struct DescriptionRequest;

// The managed windows `topmostFirst`, described: the requests go out on construction, get() collects them (a
// batch destroyed uncollected discards them). Windows that are gone are left out, as are docks and desktops.
class ManagedWindowsDescription
{
public:
    ManagedWindowsDescription(const X11Connection &connection, const std::vector<xcb_window_t> &topmostFirst);
    ~ManagedWindowsDescription();
    ManagedWindowsDescription(const ManagedWindowsDescription &) = delete;
    ManagedWindowsDescription &operator=(const ManagedWindowsDescription &) = delete;

    std::vector<TopLevelWindow> get();

private:
    const X11Connection &m_connection;
    std::vector<DescriptionRequest> m_requests;
};

// The root window's children, topmost first, each resolved to the client window inside it (the first window with
// WM_STATE within kMaxFrameDepth levels; the child itself when there is none). Override-redirect windows (menus,
// tooltips) and `ownWindow` are left out, and so are docks and desktops. A window without WM_STATE (no window
// manager manages it) is visible when it is mapped.
std::vector<TopLevelWindow> listRootChildren(const X11Connection &connection, xcb_window_t ownWindow);
constexpr int kMaxFrameDepth = 3;

// `managed` (topmost first as the window manager lists them) in the order of the root window's children, topmost
// first: for a window manager whose stacking list is missing or only the mapping order. Windows whose frame is not
// found keep their order, after the others.
std::vector<xcb_window_t> inStackingOrder(const X11Connection &connection, const std::vector<xcb_window_t> &managed);

} // namespace platform::x11
