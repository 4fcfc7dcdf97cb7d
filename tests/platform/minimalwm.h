// The simplest window manager there is, for tests of the fallbacks for window managers without EWMH: it takes the
// root window's SubstructureRedirect, maps windows that ask to be mapped (giving them WM_STATE Normal), and
// carries configure requests out as they come, a little later, from a thread of its own. No frames, no EWMH.
// It can also lose the first map request of every window, as a window manager that is still starting may.
#pragma once

#include <xcb/xcb.h>

#include <atomic>
#include <set>
#include <thread>

class MinimalWindowManager
{
public:
    enum class FirstMapRequest { Handled, Lost };

    // Starts managing on `display`; check running().
    explicit MinimalWindowManager(const char *display, FirstMapRequest firstMapRequest = FirstMapRequest::Handled);
    ~MinimalWindowManager(); // stops, and lets the root window go

    MinimalWindowManager(const MinimalWindowManager &) = delete;
    MinimalWindowManager &operator=(const MinimalWindowManager &) = delete;

    bool running() const { return m_thread.joinable(); }
    int configureRequests() const { return m_configureRequests; }
    int mapRequests() const { return m_mapRequests; }

private:
    void run();
    void handle(const xcb_generic_event_t &event);

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_NONE;
    xcb_atom_t m_wmState = XCB_ATOM_NONE;
    int m_stopPipe[2] = {-1, -1};
    FirstMapRequest m_firstMapRequest;
    std::set<xcb_window_t> m_mapRequested; // the windows whose map request came before; event thread only
    std::atomic<int> m_configureRequests = 0;
    std::atomic<int> m_mapRequests = 0;
    std::thread m_thread;
};
