// Fake window system for offscreen tests.
#include "fakewindowsystem.h"

#include <algorithm>

using platform::WindowId;
using platform::WindowPlacement;

FakeWindowSystem::FakeWindowSystem()
    : m_monitors {{QStringLiteral("Fake Display"), QRect(0, 0, 1920, 1080), true}}
{ }

void FakeWindowSystem::setWindows(std::vector<platform::TopLevelWindow> windows)
{
    m_windows = std::move(windows);
    for (const auto &window : m_windows) {
        m_placements.try_emplace(window.id, WindowPlacement {platform::ShowState::Normal, QRect(0, 0, 200, 150)});
    }
}

std::optional<WindowPlacement> FakeWindowSystem::windowPlacement(WindowId window)
{
    const auto found = m_placements.find(window);
    if (found == m_placements.end()) {
        return std::nullopt;
    }
    return found->second;
}

bool FakeWindowSystem::setWindowPlacement(WindowId window, const WindowPlacement &placement)
{
    requests.push_back({window, placement});
    const auto found = m_placements.find(window);
    if (found == m_placements.end()) {
        return false;
    }
    found->second = placement;
    return true;
}

void FakeWindowSystem::setPlacement(WindowId window, const WindowPlacement &placement)
{
    m_placements[window] = placement;
}

void FakeWindowSystem::closeWindow(WindowId window)
{
    m_placements.erase(window);
    std::erase_if(m_windows, [window](const auto &w) { return w.id == window; });
}
