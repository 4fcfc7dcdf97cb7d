// The restore records Framewright leaves on windows it maximizes (X11 keeps no restore rectangle a program could
// read), and their upkeep: a record is deleted as soon as its window is seen not maximized, so a later maximizing
// by other means never reads back an old rectangle.
#pragma once

#include "x11connection.h"
#include "x11properties.h"

#include <set>

namespace platform::x11 {

// While the program runs, every window that carries a record is watched (PropertyChange on our connection): a
// change of its _NET_WM_STATE marks it, and check() deletes the records of marked windows that are no longer
// maximized. Records of windows that went unmaximized while the program was not running are caught by
// recordMatches() when they are read (a window maximized elsewhere) or deleted on sight by the reader.
class RestoreRecords
{
public:
    explicit RestoreRecords(X11Connection &connection);

    // Writes the record on the window and watches it.
    void write(xcb_window_t window, const RestoreRecord &record);
    // Deletes the window's record and stops watching it.
    void erase(xcb_window_t window);
    bool watched(xcb_window_t window) const { return m_watched.contains(window); }
    // The event mask our connection keeps on `window` between operations.
    uint32_t restingEventMask(xcb_window_t window) const;

    // Marks watched windows whose _NET_WM_STATE changed.
    void handleEvent(const xcb_generic_event_t &event);
    // Deletes the records of marked windows that are no longer maximized, and forgets windows that are gone.
    void check();

private:
    X11Connection &m_connection;
    std::set<xcb_window_t> m_watched;
    std::set<xcb_window_t> m_marked;
};

} // namespace platform::x11
