// The window-system operations Framewright needs, and nothing else.
// X11WindowSystem implements them on X11; tests use a fake. Everything else reaches the desktop through this.
#pragma once

#include <QRect>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace platform {

// One monitor of the desktop: its name and full rectangle in root coordinates.
struct Monitor
{
    QString name;
    QRect rect;
    bool primary = false;

    bool operator==(const Monitor &) const = default;
};

// A top-level window of any program: on X11 the client window's id. 0 names no window.
using WindowId = uint32_t;

// Titles are cut to this many bytes of UTF-8, on a character boundary.
constexpr int kMaxTitleBytes = 255;

// What listing reports of one top-level window.
struct TopLevelWindow
{
    WindowId id = 0;
    QString title;        // empty for a window without a title
    bool visible = false; // managed and shown, minimized included
    bool owned = false;   // transient for another window (or for its group)

    bool operator==(const TopLevelWindow &) const = default;
};

enum class ShowState { Normal, Minimized, Maximized };

// A window's placement: how it is shown and its restored ("normal") rectangle. The rectangle is the outer one,
// window-manager frame included and client-side-decoration shadow excluded, in root coordinates, which are the
// coordinates of the monitor rectangles.
struct WindowPlacement
{
    ShowState showState = ShowState::Normal;
    QRect normalRect;
    // When setting: the point of `normalRect` that a window keeps when it cannot take that size (its minimum,
    // maximum or resize increments): its left edge, right edge or horizontal centre, and its top edge, bottom edge
    // or vertical centre. Reading gives the default.
    Qt::Alignment anchor = Qt::AlignLeft | Qt::AlignTop;

    bool operator==(const WindowPlacement &) const = default;
};

// Reports changes of the top-level windows for as long as it lives (see WindowSystem::watchTopLevelWindows).
class WindowWatch
{
public:
    virtual ~WindowWatch() = default;
};

// What a watch reports: every top-level window as topLevelWindows() lists it, or nothing once the window system
// has gone away (the X server closed the connection); after that it reports no more.
using WindowListChanged = std::function<void(std::optional<std::vector<TopLevelWindow>> windows)>;

class WindowSystem
{
public:
    virtual ~WindowSystem() = default;

    // The active monitors: the primary first, then the others by (x, y). Never empty: a desktop without
    // monitor information reports its root window as the one monitor.
    virtual std::vector<Monitor> monitors() = 0;

    // The monitors as monitors() lists them, in the same order with the same rectangles, their names possibly
    // empty: for callers that need no names, which can cost a backend more to read than the rest.
    virtual std::vector<Monitor> monitorLayout() { return monitors(); }

    // Every top-level window, topmost first in the stacking order. Windows that vanish while they are being
    // listed are left out; nothing is reported.
    virtual std::vector<TopLevelWindow> topLevelWindows() = 0;

    // The window's placement; empty when the window is gone or cannot be read.
    virtual std::optional<WindowPlacement> windowPlacement(WindowId window) = 0;

    // Shows the window normal or maximized (Minimized is not a request) with `placement.normalRect` as its
    // outer rectangle, resp. as the rectangle it returns to from maximized; restores a minimized window. Returns
    // whether the window took the placement; a window that is gone gives false and nothing else.
    virtual bool setWindowPlacement(WindowId window, const WindowPlacement &placement) = 0;

    // Gives each of `windows` the same placement as setWindowPlacement does; whether each took it, in their order.
    // Here one after another, in order; a window system whose windows can take their placements at the same time
    // overrides this to wait for all of them at once (windows placed later end above those placed earlier).
    virtual std::vector<bool> setWindowPlacements(
        const std::vector<WindowId> &windows, const WindowPlacement &placement)
    {
        std::vector<bool> taken;
        taken.reserve(windows.size());
        for (const WindowId window : windows) {
            taken.push_back(setWindowPlacement(window, placement));
        }
        return taken;
    }

    // Why this window system can never carry out `placement`, whatever the window (sway has no maximized state):
    // one line for the user, without the program's name; empty when it can. setWindowPlacement refuses such a
    // placement.
    virtual QString placementRefusal(const WindowPlacement &placement) const
    {
        Q_UNUSED(placement);
        return {};
    }

    // The window that has the input focus as the window manager reports it (_NET_ACTIVE_WINDOW on X11); empty
    // when there is none or the window manager does not say.
    virtual std::optional<WindowId> activeWindow() = 0;

    // Calls `changed` once with the windows before it returns, and again from the Qt event loop whenever a
    // top-level window may have appeared or vanished, or changed its title, visibility or owner; several changes
    // that arrive together give one call. Event-driven: nothing runs while nothing changes. Needs a
    // QCoreApplication. Empty when the window system cannot watch.
    virtual std::unique_ptr<WindowWatch> watchTopLevelWindows(WindowListChanged changed) = 0;
};

} // namespace platform
