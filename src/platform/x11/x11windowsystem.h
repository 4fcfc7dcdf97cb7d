// The window-system operations on X11, through an xcb connection of the program's own.
#pragma once

#include "platform/windowsystem.h"

#include <memory>

namespace platform::x11 {

class X11Connection;

class X11WindowSystem : public WindowSystem
{
public:
    // Connects to `displayName` (nullptr: $DISPLAY); empty when the X server cannot be reached.
    static std::unique_ptr<X11WindowSystem> open(const char *displayName = nullptr);
    ~X11WindowSystem() override;

    std::vector<Monitor> monitors() override;
    std::vector<TopLevelWindow> topLevelWindows() override;
    std::optional<WindowPlacement> windowPlacement(WindowId window) override;
    bool setWindowPlacement(WindowId window, const WindowPlacement &placement) override;

private:
    explicit X11WindowSystem(std::unique_ptr<X11Connection> connection);
    Monitor rootMonitor() const;

    std::unique_ptr<X11Connection> m_connection;
};

} // namespace platform::x11
