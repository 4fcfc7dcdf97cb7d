// Probing the window manager: EWMH check window (it must name itself), supported features, current desktop.
#include "x11windowmanager.h"

#include <algorithm>

namespace platform::x11 {

namespace {

// _NET_SUPPORTED of real window managers holds 50 to 200 atoms.
constexpr uint32_t kMaxSupportedAtoms = 1024;

} // namespace

bool WindowManager::supports(xcb_atom_t atom) const
{
    return ewmh && std::binary_search(supported.begin(), supported.end(), atom);
}

WindowManagerProbe::WindowManagerProbe(const X11Connection &connection, xcb_window_t lastCheckWindow)
    : m_connection(connection)
    , m_lastCheckWindow(lastCheckWindow)
{
    xcb_connection_t *c = connection.get();
    const Atoms &atoms = connection.atoms();
    const xcb_window_t root = connection.root();
    m_rootCheck = PendingProperty(c, root, atoms.netSupportingWmCheck, 1);
    if (lastCheckWindow != XCB_NONE) {
        m_lastCheck = PendingProperty(c, lastCheckWindow, atoms.netSupportingWmCheck, 1);
    }
    m_supported = PendingProperty(c, root, atoms.netSupported, kMaxSupportedAtoms);
    m_currentDesktop = PendingProperty(c, root, atoms.netCurrentDesktop, 1);
}

void WindowManagerProbe::askCheckWindow()
{
    if (m_checkAsked) {
        return;
    }
    m_checkAsked = true;
    m_checkWindow = value32(m_rootCheck.get().value(), XCB_ATOM_WINDOW);
    if (m_checkWindow && *m_checkWindow != XCB_NONE && *m_checkWindow != m_lastCheckWindow) {
        m_lastCheck = PendingProperty(m_connection.get(), *m_checkWindow, m_connection.atoms().netSupportingWmCheck, 1);
    }
}

WindowManager WindowManagerProbe::get()
{
    askCheckWindow();
    WindowManager wm;
    if (!m_checkWindow || *m_checkWindow == XCB_NONE) {
        return wm;
    }
    // EWMH: the check window carries the same property naming itself; a stale root property left by a window
    // manager that has gone names a window that no longer exists or no longer names itself.
    if (value32(m_lastCheck.get().value(), XCB_ATOM_WINDOW) != m_checkWindow) {
        return wm;
    }
    wm.ewmh = true;
    wm.checkWindow = *m_checkWindow;
    wm.supported = values32(m_supported.get().value(), XCB_ATOM_ATOM, kMaxSupportedAtoms);
    std::sort(wm.supported.begin(), wm.supported.end());
    wm.currentDesktop = value32(m_currentDesktop.get().value(), XCB_ATOM_CARDINAL);
    return wm;
}

} // namespace platform::x11
