// Watching the top-level windows on X11: a connection of its own hears the window manager's client lists change
// on the root window, windows come and go among the root's children (window managers without EWMH), and the
// title, state and owner properties of every listed window change. Each burst of such events gives one listing.
#pragma once

#include "platform/windowsystem.h"

#include <xcb/xcb.h>

#include <memory>
#include <set>

class QSocketNotifier;

namespace platform::x11 {

class X11Connection;

class X11WindowWatch : public WindowWatch
{
public:
    // `system` lists the windows; `connection` is opened for the watch alone, since event selections belong to a
    // connection and the placement code changes its own connection's selections on client windows.
    X11WindowWatch(WindowSystem &system, std::unique_ptr<X11Connection> connection, WindowListChanged changed);
    ~X11WindowWatch() override;

private:
    void eventsArrived();
    bool matters(const xcb_generic_event_t &event) const;
    void report();
    // Selects property changes on the windows not followed yet; true when there were any.
    bool follow(const std::vector<TopLevelWindow> &windows);
    // Sends what is queued and waits for the server's answer: it has carried out every request sent before.
    void roundTrip();

    WindowSystem &m_system;
    std::unique_ptr<X11Connection> m_connection;
    WindowListChanged m_changed;
    std::unique_ptr<QSocketNotifier> m_notifier;
    xcb_atom_t m_netClientList = XCB_ATOM_NONE;
    std::set<xcb_window_t> m_followed;
    bool m_changeQueued = false; // an event that matters was read during a listing: another listing is due
};

} // namespace platform::x11
