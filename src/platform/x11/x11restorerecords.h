// The restore records Framewright leaves on windows it maximizes (X11 keeps no restore rectangle a program could
// read), and their upkeep: a record is dropped as soon as its window is seen to have left the maximized state, so
// a later maximizing by other means never reads back an old rectangle.
#pragma once

#include "x11connection.h"
#include "x11properties.h"

#include <QSize>

#include <map>
#include <optional>
#include <vector>

namespace platform::x11 {

struct WindowState;

// While the program runs, every window that carries a record is watched on our connection (its property changes
// and its configure notifications): a change of its _NET_WM_STATE or of its size marks it, and check() looks at
// the marked windows. A window that is no longer maximized, or that was seen with its restored size in between
// (restored, perhaps moved, and maximized again between two looks), loses its record; one the window manager
// resized while it stayed maximized keeps it, renewed with the rectangle it has now (fluxbox maximizes in two
// steps, KWin rounds a window with resize increments once more). Records of windows that changed while the program
// was not running are caught by recordMatches() when they are read (a window maximized elsewhere) and deleted on
// sight by the reader.
class RestoreRecords
{
public:
    explicit RestoreRecords(X11Connection &connection);

    // Writes the record on the window and watches it. `restoredClientSize`: the client's size just before it was
    // maximized, which the window manager gives it back when it is restored.
    void write(xcb_window_t window, const RestoreRecord &record, QSize restoredClientSize);
    // Watches a window whose record another run of the program wrote, read as still describing the window.
    void follow(xcb_window_t window);
    // Watches those of `windows` that carry a record another run of the program wrote (one round trip): a program
    // that runs for long (--watch) keeps the records of the windows it sees up to date.
    void followRecorded(const std::vector<xcb_window_t> &windows);
    // Deletes the window's record and stops watching it.
    void erase(xcb_window_t window);
    bool watched(xcb_window_t window) const { return m_watched.contains(window); }
    // The event mask our connection keeps on `window` between operations.
    uint32_t restingEventMask(xcb_window_t window) const;

    // Marks watched windows whose _NET_WM_STATE or size changed; forgets destroyed ones.
    void handleEvent(const xcb_generic_event_t &event);
    // Drops or renews the records of marked windows, and forgets windows that are gone.
    void check();

private:
    // What a watched window did since the last check.
    struct Changes
    {
        bool restored = false; // a configure notification showed the client with its restored size
    };
    void writeProperty(xcb_window_t window, const RestoreRecord &record);

    void review(xcb_window_t window, const Changes &changes, const std::optional<WindowState> &state);
    void forget(xcb_window_t window);
    void select(xcb_window_t window, uint32_t mask);

    X11Connection &m_connection;
    // The watched windows with their restored client size; none for records another run wrote.
    std::map<xcb_window_t, std::optional<QSize>> m_watched;
    std::map<xcb_window_t, Changes> m_marked;
};

} // namespace platform::x11
