// What the running window manager offers: whether it is an EWMH one (a valid _NET_SUPPORTING_WM_CHECK), what it
// lists in _NET_SUPPORTED, and the current desktop. Read at the start of every operation, in the same batch as
// the operation's own first requests, since a window manager can be replaced at any time.
#pragma once

#include "x11requests.h"

#include <optional>
#include <vector>

namespace platform::x11 {

struct WindowManager
{
    bool ewmh = false;
    xcb_window_t checkWindow = XCB_NONE;
    std::vector<xcb_atom_t> supported; // sorted
    std::optional<uint32_t> currentDesktop;

    bool supports(xcb_atom_t atom) const;
};

// Sends its requests on construction; get() collects them. The check window found last time is checked in the
// same batch, so an unchanged window manager costs no extra round trip; another one is checked in a second batch,
// which requests sent between askCheckWindow() and get() share.
class WindowManagerProbe
{
public:
    WindowManagerProbe(const X11Connection &connection, xcb_window_t lastCheckWindow);
    // Collects the root window's check property (the first batch) and asks the check window it names, unless that
    // was asked in the first batch. get() calls it when it has not been called.
    void askCheckWindow();
    WindowManager get();

private:
    const X11Connection &m_connection;
    xcb_window_t m_lastCheckWindow;
    PendingProperty m_rootCheck;
    PendingProperty m_lastCheck;
    std::optional<uint32_t> m_checkWindow; // what the root window names, once collected
    bool m_checkAsked = false;
    PendingProperty m_supported;
    PendingProperty m_currentDesktop;
};

} // namespace platform::x11
