// The window-system operations on sway, through its IPC socket ($SWAYSOCK): outputs from get_outputs, windows from
// get_tree (Wayland and XWayland windows alike), placements as commands on the window's container id. Handles are
// given per container id and never reused. A window that vanishes at any point is passed over.
#pragma once

#include "platform/windowhandles.h"
#include "platform/windowsystem.h"

#include <QByteArray>

#include <cstdint>
#include <memory>
#include <set>

namespace platform::sway {

class IpcConnection;
struct SwayWindow;

class SwayWindowSystem : public WindowSystem
{
public:
    // Connects to the IPC socket at `socketPath`; empty when sway cannot be reached there.
    static std::unique_ptr<SwayWindowSystem> open(const QByteArray &socketPath);
    ~SwayWindowSystem() override;

    // Active outputs; the one at the origin of the layout is the primary (sway has no primary output, and the
    // focused one changes with every click: stored monitor numbers would change meaning).
    std::vector<Monitor> monitors() override;
    // Every window is visible (windows on hidden workspaces count as shown, as on another desktop elsewhere);
    // windows hidden in the scratchpad are listed as minimized.
    std::vector<TopLevelWindow> topLevelWindows() override;
    std::optional<WindowPlacement> windowPlacement(WindowId window) override;
    // Floats a tiled window first (sway can place only floating windows exactly), takes a window out of full
    // screen or the scratchpad, and focuses it afterwards. Maximized is refused (see placementRefusal).
    bool setWindowPlacement(WindowId window, const WindowPlacement &placement) override;
    QString placementRefusal(const WindowPlacement &placement) const override;
    std::optional<WindowId> activeWindow() override;
    // Subscribes to window events on a second connection.
    std::unique_ptr<WindowWatch> watchTopLevelWindows(WindowListChanged changed) override;

private:
    SwayWindowSystem(std::unique_ptr<IpcConnection> connection, QByteArray socketPath);
    // The windows now, with handles given to new ones and vanished ones forgotten; empty when the tree cannot be
    // read.
    std::optional<std::vector<SwayWindow>> windows();
    std::optional<SwayWindow> window(int64_t conId);
    // The bounding box of the outputs.
    QSize layoutSize();
    // Runs each string as one run_command message for [con_id=conId], all sent in one write; false when sway
    // refused a command.
    bool runCommands(int64_t conId, const QStringList &messages);

    std::unique_ptr<IpcConnection> m_connection;
    QByteArray m_socketPath;
    WindowHandles<int64_t> m_handles;
    std::set<int64_t> m_known; // the container ids of the last listing
};

} // namespace platform::sway
