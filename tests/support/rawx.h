// Raw X access for the window-system tests: what a window looks like to plain X requests, independent of the code
// under test (its outer rectangle from the frame window's geometry, its states), and the messages a user's
// actions or a pager would send.
#pragma once

#include <QByteArray>
#include <QRect>

#include <xcb/xcb.h>

#include <optional>
#include <vector>

class RawX
{
public:
    // Connects to `display` (nullptr: $DISPLAY); check connected().
    explicit RawX(const char *display = nullptr);
    ~RawX();
    RawX(const RawX &) = delete;
    RawX &operator=(const RawX &) = delete;

    bool connected() const { return m_connection != nullptr; }
    xcb_connection_t *connection() const { return m_connection; }
    xcb_window_t root() const { return m_root; }

    // Waits until the server has carried out everything sent on this connection.
    void sync();
    xcb_atom_t atom(const char *name);
    // A property's items (format 32), empty when absent.
    std::vector<quint32> values(xcb_window_t window, const char *property);
    bool exists(xcb_window_t window);

    // ICCCM WM_STATE (0 withdrawn/absent, 1 normal, 3 iconic).
    quint32 wmState(xcb_window_t window);
    // Mapped, and so are all its ancestors.
    bool viewable(xcb_window_t window);
    bool hasState(xcb_window_t window, const char *state);
    bool maximized(xcb_window_t window)
    {
        return hasState(window, "_NET_WM_STATE_MAXIMIZED_VERT") && hasState(window, "_NET_WM_STATE_MAXIMIZED_HORZ");
    }

    // The root's child that holds `window` (its frame, or the window itself without a reparenting window manager).
    std::optional<xcb_window_t> frameOf(xcb_window_t window);
    // The outer rectangle two ways: the client's inside translated to the root and grown by _NET_FRAME_EXTENTS;
    // and the top-level frame window's geometry, less an invisible border as wide on every side (marco keeps one
    // around the visible frame for resizing). Both shrunk by _GTK_FRAME_EXTENTS. Empty when the window is gone.
    std::optional<QRect> outerFromExtents(xcb_window_t window);
    std::optional<QRect> outerFromFrame(xcb_window_t window);
    // The client's inside in root coordinates.
    std::optional<QRect> clientRect(xcb_window_t window);

    // What a user's action or a pager sends.
    void sendMessage(xcb_window_t window, const char *type, std::initializer_list<quint32> data);
    void setMaximized(xcb_window_t window, bool maximized);
    void activate(xcb_window_t window);
    void moveToDesktop(xcb_window_t window, quint32 desktop);
    void switchToDesktop(quint32 desktop);
    std::optional<quint32> currentDesktop();
    // The managed windows (_NET_CLIENT_LIST), topmost first by their frames' order among the root's children.
    std::vector<quint32> stackingTopmostFirst();
    // In _NET_CLIENT_LIST: window managers publish it some time after WM_STATE (fluxbox, KWin).
    bool listed(xcb_window_t window);

private:
    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_NONE;
};
