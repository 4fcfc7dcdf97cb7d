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

WindowManager WindowManagerProbe::get()
{
    const Atoms &atoms = m_connection.atoms();
    const Property rootCheck = m_rootCheck.get();
    const std::optional<uint32_t> checkWindow = value32(rootCheck.value(), XCB_ATOM_WINDOW);
    WindowManager wm;
    if (!checkWindow || *checkWindow == XCB_NONE) {
        return wm;
    }
    // EWMH: the check window carries the same property naming itself; a stale root property left by a window
    // manager that has gone names a window that no longer exists or no longer names itself.
    Property selfCheck = m_lastCheck.get();
    if (*checkWindow != m_lastCheckWindow) {
        selfCheck = PendingProperty(m_connection.get(), *checkWindow, atoms.netSupportingWmCheck, 1).get();
    }
    if (value32(selfCheck.value(), XCB_ATOM_WINDOW) != checkWindow) {
        return wm;
    }
    wm.ewmh = true;
    wm.checkWindow = *checkWindow;
    wm.supported = values32(m_supported.get().value(), XCB_ATOM_ATOM, kMaxSupportedAtoms);
    std::sort(wm.supported.begin(), wm.supported.end());
    wm.currentDesktop = value32(m_currentDesktop.get().value(), XCB_ATOM_CARDINAL);
    return wm;
}

} // namespace platform::x11
