// A window system for offscreen tests: monitors are whatever the test sets.
#pragma once

#include "platform/windowsystem.h"

class FakeWindowSystem : public platform::WindowSystem
{
public:
    // One 1920 x 1080 primary monitor at the origin unless a test sets others.
    FakeWindowSystem();

    std::vector<platform::Monitor> monitors() override { return m_monitors; }
    void setMonitors(std::vector<platform::Monitor> monitors) { m_monitors = std::move(monitors); }

private:
    std::vector<platform::Monitor> m_monitors;
};
