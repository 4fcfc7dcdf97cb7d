// A window system for offscreen tests: monitors and windows are whatever the test sets, and every placement
// asked for is recorded.
#pragma once

#include "platform/windowsystem.h"

#include <map>

class FakeWindowSystem : public platform::WindowSystem
{
public:
    // One 1920 x 1080 primary monitor at the origin unless a test sets others; no windows.
    FakeWindowSystem();

    std::vector<platform::Monitor> monitors() override { return m_monitors; }
    void setMonitors(std::vector<platform::Monitor> monitors) { m_monitors = std::move(monitors); }

    std::vector<platform::TopLevelWindow> topLevelWindows() override { return m_windows; }
    // Windows topmost first; each gets a Normal placement at (0, 0) of 200 x 150 unless set otherwise.
    void setWindows(std::vector<platform::TopLevelWindow> windows);

    std::optional<platform::WindowPlacement> windowPlacement(platform::WindowId window) override;
    bool setWindowPlacement(platform::WindowId window, const platform::WindowPlacement &placement) override;
    void setPlacement(platform::WindowId window, const platform::WindowPlacement &placement);
    // Removes the window: every later operation on it fails.
    void closeWindow(platform::WindowId window);

    std::optional<platform::WindowId> activeWindow() override { return active; }
    std::optional<platform::WindowId> active; // what activeWindow() reports

    // A watch that reports the windows when it starts and after each setWindows() and closeWindow().
    std::unique_ptr<platform::WindowWatch> watchTopLevelWindows(platform::WindowListChanged changed) override;

    struct Request
    {
        platform::WindowId window;
        platform::WindowPlacement placement;
        bool operator==(const Request &) const = default;
    };
    std::vector<Request> requests; // every setWindowPlacement, in order, also those for closed windows

private:
    std::vector<platform::Monitor> m_monitors;
    std::vector<platform::TopLevelWindow> m_windows;
    std::map<platform::WindowId, platform::WindowPlacement> m_placements;
    struct Watch;
    std::vector<Watch *> m_watches;
    void reportWindows();
};
