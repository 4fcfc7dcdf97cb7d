// An X connection of Framewright's own (not Qt's), with owned replies and the atoms it uses in one place. Every
// request goes through xcb; Xlib, which alone decodes COMPOUND_TEXT titles, gets a connection of its own when such a
// title is met (x11xlibtext.h). Xlib's own opening would cost five round trips (BIG-REQUESTS, the resource
// database, XKB) that a short command's start does without.
#pragma once

#include <QLoggingCategory>

#include <xcb/randr.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace platform::x11 {

class XlibText;

Q_DECLARE_LOGGING_CATEGORY(lcX11)

struct FreeDeleter
{
    void operator()(void *p) const { std::free(p); }
};

// Every xcb reply and error is owned by one of these, so nothing leaks on an early return.
template<typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

// The atoms the window-system layer names; interned once, all requests sent before any reply is read. Atoms that
// the core protocol predefines (WM_NAME, STRING, CARDINAL, WINDOW, ...) are used as XCB_ATOM_* directly.
struct Atoms
{
    xcb_atom_t edid = XCB_ATOM_NONE; // RandR output property with the display's EDID; NONE when no driver set one

    // Types and ICCCM.
    xcb_atom_t utf8String = XCB_ATOM_NONE;
    xcb_atom_t compoundText = XCB_ATOM_NONE;
    xcb_atom_t cString = XCB_ATOM_NONE;
    xcb_atom_t wmState = XCB_ATOM_NONE;

    // EWMH: the window manager and its client list.
    xcb_atom_t netSupported = XCB_ATOM_NONE;
    xcb_atom_t netSupportingWmCheck = XCB_ATOM_NONE;
    xcb_atom_t netClientList = XCB_ATOM_NONE;
    xcb_atom_t netClientListStacking = XCB_ATOM_NONE;
    xcb_atom_t netCurrentDesktop = XCB_ATOM_NONE;
    xcb_atom_t netActiveWindow = XCB_ATOM_NONE;
    xcb_atom_t netMoveResizeWindow = XCB_ATOM_NONE;
    xcb_atom_t netRequestFrameExtents = XCB_ATOM_NONE;

    // EWMH: properties of client windows.
    xcb_atom_t netWmName = XCB_ATOM_NONE;
    xcb_atom_t netWmDesktop = XCB_ATOM_NONE;
    xcb_atom_t netFrameExtents = XCB_ATOM_NONE;
    xcb_atom_t gtkFrameExtents = XCB_ATOM_NONE;
    xcb_atom_t motifWmHints = XCB_ATOM_NONE;
    xcb_atom_t netWmState = XCB_ATOM_NONE;
    xcb_atom_t netWmStateHidden = XCB_ATOM_NONE;
    xcb_atom_t netWmStateMaximizedVert = XCB_ATOM_NONE;
    xcb_atom_t netWmStateMaximizedHorz = XCB_ATOM_NONE;
    xcb_atom_t netWmStateFullscreen = XCB_ATOM_NONE;
    xcb_atom_t netWmWindowType = XCB_ATOM_NONE;
    // The basic window types; the first of these in a window's type list is its type.
    xcb_atom_t netWmWindowTypeDesktop = XCB_ATOM_NONE;
    xcb_atom_t netWmWindowTypeDock = XCB_ATOM_NONE;
    xcb_atom_t netWmWindowTypeToolbar = XCB_ATOM_NONE;
    xcb_atom_t netWmWindowTypeMenu = XCB_ATOM_NONE;
    xcb_atom_t netWmWindowTypeUtility = XCB_ATOM_NONE;
    xcb_atom_t netWmWindowTypeSplash = XCB_ATOM_NONE;
    xcb_atom_t netWmWindowTypeDialog = XCB_ATOM_NONE;
    xcb_atom_t netWmWindowTypeNormal = XCB_ATOM_NONE;

    // Framewright's own: the restore record on windows it maximized, and the property whose zero-length append on
    // the helper window yields a server timestamp.
    xcb_atom_t framewrightRestoreRect = XCB_ATOM_NONE;
    xcb_atom_t framewrightTimestamp = XCB_ATOM_NONE;
};

class X11Connection
{
public:
    // Connects to `displayName` (nullptr: $DISPLAY). Empty when the server cannot be reached.
    static std::unique_ptr<X11Connection> open(const char *displayName = nullptr);
    // Why no connection to `displayName` (nullptr: $DISPLAY) can be made, or nothing when one can. Needs no
    // application object, so it can run before Qt's platform plugin, which aborts the program without a display.
    static std::optional<std::string> unreachableReason(const char *displayName = nullptr);
    ~X11Connection();

    X11Connection(const X11Connection &) = delete;
    X11Connection &operator=(const X11Connection &) = delete;

    xcb_connection_t *get() const { return m_connection; }
    // The display this connection was opened to, as another connection to it is opened.
    const std::string &displayName() const { return m_displayName; }
    // The first text of COMPOUND_TEXT `bytes` as UTF-8, through Xlib on the same display; empty when Xlib cannot
    // convert it (see XlibText).
    std::optional<std::string> compoundTextToUtf8(std::span<const uint8_t> bytes) const;
    xcb_window_t root() const { return m_root; }
    const Atoms &atoms() const { return m_atoms; }
    // RandR 1.5 or later (GetMonitors) is available. The version's reply is collected on the first call, so that
    // it shares a round trip with whatever was sent before.
    bool hasRandrMonitors();
    // The server closed the connection (or it broke); every later request fails at once.
    bool broken() const { return xcb_connection_has_error(m_connection) != 0; }

private:
    X11Connection(xcb_connection_t *connection, xcb_window_t root, std::string displayName);
    // Interns the atoms and asks for RandR's version: one round trip, the version's reply left for later.
    void internAtomsAndAskRandr();

    xcb_connection_t *m_connection;
    xcb_window_t m_root;
    std::string m_displayName;
    Atoms m_atoms;
    std::optional<xcb_randr_query_version_cookie_t> m_randrVersion; // asked for, reply not yet collected
    bool m_hasRandrMonitors = false;
    mutable std::unique_ptr<XlibText> m_xlibText; // made on first use
};

} // namespace platform::x11
