// Fake window system for offscreen tests.
#include "fakewindowsystem.h"

#include <algorithm>

using platform::WindowId;
using platform::WindowPlacement;

FakeWindowSystem::FakeWindowSystem()
    : m_monitors {{QStringLiteral("Fake Display"), QRect(0, 0, 1920, 1080), true}}
{ }

struct FakeWindowSystem::Watch : platform::WindowWatch
{
    Watch(FakeWindowSystem &system, platform::WindowListChanged changed)
        : system(system)
        , changed(std::move(changed))
    {
        system.m_watches.push_back(this);
    }
    ~Watch() override { std::erase(system.m_watches, this); }

    FakeWindowSystem &system;
    const platform::WindowListChanged changed;
};

void FakeWindowSystem::setWindows(std::vector<platform::TopLevelWindow> windows)
{
    m_windows = std::move(windows);
    for (const auto &window : m_windows) {
        m_placements.try_emplace(window.id, WindowPlacement {platform::ShowState::Normal, QRect(0, 0, 200, 150)});
    }
    reportWindows();
}

std::unique_ptr<platform::WindowWatch> FakeWindowSystem::watchTopLevelWindows(platform::WindowListChanged changed)
{
    auto watch = std::make_unique<Watch>(*this, std::move(changed));
    watch->changed(m_windows);
    return watch;
}

void FakeWindowSystem::reportWindows()
{
    // A report may end a watch (and so change the list): walk a copy.
    const std::vector<Watch *> watches = m_watches;
    for (Watch *watch : watches) {
        if (std::find(m_watches.begin(), m_watches.end(), watch) != m_watches.end()) {
            watch->changed(m_windows);
        }
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
    reportWindows();
}
