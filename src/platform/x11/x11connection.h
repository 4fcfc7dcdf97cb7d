// An xcb connection of Framewright's own (not Qt's), with owned replies and the atoms it uses in one place.
#pragma once

#include <QLoggingCategory>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

namespace platform::x11 {

Q_DECLARE_LOGGING_CATEGORY(lcX11)

struct FreeDeleter
{
    void operator()(void *p) const { std::free(p); }
};

// Every xcb reply and error is owned by one of these, so nothing leaks on an early return.
template<typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

// The atoms the window-system layer names; interned once, all requests sent before any reply is read.
struct Atoms
{
    xcb_atom_t edid = XCB_ATOM_NONE; // RandR output property with the display's EDID; NONE when no driver set one
};

class X11Connection
{
public:
    // Connects to `displayName` (nullptr: $DISPLAY). Empty when the server cannot be reached.
    static std::unique_ptr<X11Connection> open(const char *displayName = nullptr);
    ~X11Connection();

    X11Connection(const X11Connection &) = delete;
    X11Connection &operator=(const X11Connection &) = delete;

    xcb_connection_t *get() const { return m_connection; }
    xcb_window_t root() const { return m_root; }
    const Atoms &atoms() const { return m_atoms; }
    // RandR 1.5 or later (GetMonitors) is available.
    bool hasRandrMonitors() const { return m_hasRandrMonitors; }

private:
    X11Connection(xcb_connection_t *connection, xcb_window_t root);
    void internAtoms();
    void queryRandr();

    xcb_connection_t *m_connection;
    xcb_window_t m_root;
    Atoms m_atoms;
    bool m_hasRandrMonitors = false;
};

} // namespace platform::x11
