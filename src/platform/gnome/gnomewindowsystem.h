// The window-system operations on GNOME Shell (43 and later, Wayland or X11 session), through Framewright's Shell
// extension on the session bus: mutter's windows, Wayland and XWayland alike, with their frame rectangles.
#pragma once

#include "gnomeshell.h"
#include "platform/windowhandles.h"
#include "platform/windowsystem.h"

#include <QString>

#include <memory>
#include <set>

namespace platform::gnome {

class GnomeWindowSystem : public WindowSystem
{
public:
    struct Opened
    {
        std::unique_ptr<GnomeWindowSystem> windowSystem; // empty when the extension cannot be reached
        QString error;                                   // then one line saying why and what to do
    };
    // Whether GNOME Shell owns its name on the session bus.
    static bool shellRunning();
    // Opens the backend when the extension answers on the session bus.
    static Opened open();
    ~GnomeWindowSystem() override;

    std::vector<Monitor> monitors() override;
    std::vector<TopLevelWindow> topLevelWindows() override;
    std::optional<WindowPlacement> windowPlacement(WindowId window) override;
    bool setWindowPlacement(WindowId window, const WindowPlacement &placement) override;
    std::vector<bool> setWindowPlacements(
        const std::vector<WindowId> &windows, const WindowPlacement &placement) override;
    std::optional<WindowId> activeWindow() override;
    std::unique_ptr<WindowWatch> watchTopLevelWindows(WindowListChanged changed) override;

private:
    explicit GnomeWindowSystem(std::vector<Monitor> monitors);
    // The extension's window list with handles given to new windows and taken from vanished ones.
    std::optional<std::vector<ShellWindow>> listWindows();
    std::optional<ShellWindow> findWindow(WindowId window);

    ShellClient m_shell;
    std::vector<Monitor> m_monitors; // the last monitor list read, for when the shell does not answer
    WindowHandles<uint64_t> m_handles;
    std::set<uint64_t> m_listed; // the windows of the last listing
};

} // namespace platform::gnome
