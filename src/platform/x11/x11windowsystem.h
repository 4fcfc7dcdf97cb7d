// The window-system operations on X11, through an X connection of the program's own: monitors from RandR, other
// programs' top-level windows through EWMH (or the window tree without an EWMH window manager). A window that
// vanishes at any point is passed over: no X error reaches the caller, every reply and error is consumed.
#pragma once

#include "platform/windowsystem.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform::x11 {

class EventPump;
class RestoreRecords;
class X11Connection;
struct WindowManager;

class X11WindowSystem : public WindowSystem
{
public:
    // Connects to `displayName` (nullptr: $DISPLAY); empty when the X server cannot be reached.
    static std::unique_ptr<X11WindowSystem> open(const char *displayName = nullptr);
    // Why the X server at `displayName` (nullptr: $DISPLAY) cannot be reached ("DISPLAY is not set", ...), or
    // nothing when it can. Safe before the application object exists.
    static std::optional<std::string> unreachableReason(const char *displayName = nullptr);
    ~X11WindowSystem() override;

    std::vector<Monitor> monitors() override;
    std::vector<Monitor> monitorLayout() override;
    std::vector<TopLevelWindow> topLevelWindows() override;
    std::optional<WindowPlacement> windowPlacement(WindowId window) override;
    bool setWindowPlacement(WindowId window, const WindowPlacement &placement) override;
    std::optional<WindowId> activeWindow() override;
    // Watches on a second connection to the same display.
    std::unique_ptr<WindowWatch> watchTopLevelWindows(WindowListChanged changed) override;

private:
    class Operation;

    explicit X11WindowSystem(std::unique_ptr<X11Connection> connection);
    Monitor rootMonitor() const;
    std::vector<Monitor> readMonitors(bool withNames);
    void noteWindowManager(const WindowManager &wm);

    std::unique_ptr<X11Connection> m_connection;
    std::unique_ptr<EventPump> m_events;
    std::unique_ptr<RestoreRecords> m_records;
    uint32_t m_checkWindow = 0; // the EWMH window manager's check window found last time
    bool m_reportedWindowManager = false;
    bool m_barrierUnanswered = false; // the window manager of m_checkWindow left a barrier unanswered
    bool m_followRecords = false;     // a watch runs: the restore records of listed windows are kept up to date
};

} // namespace platform::x11
