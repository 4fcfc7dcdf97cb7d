// The window-system operations on KWin (Plasma 5.27 and 6, Wayland): each operation is a KWin script of its own
// (kwinscripting.h), its answer checked (kwinanswers.h). KWin's window UUIDs are given WindowId handles that are
// never reused. An operation that KWin does not answer within its bound fails like one on a vanished window.
#pragma once

#include "kwinanswers.h"
#include "platform/windowhandles.h"
#include "platform/windowsystem.h"

#include <map>
#include <memory>

namespace platform::kwin {

class KWinScripting;

class KWinWindowSystem : public WindowSystem
{
public:
    // Empty when KWin is not on the session bus. Needs a QCoreApplication.
    static std::unique_ptr<KWinWindowSystem> open();
    ~KWinWindowSystem() override;

    std::vector<Monitor> monitors() override;
    std::vector<TopLevelWindow> topLevelWindows() override;
    std::optional<WindowPlacement> windowPlacement(WindowId window) override;
    bool setWindowPlacement(WindowId window, const WindowPlacement &placement) override;
    std::optional<WindowId> activeWindow() override;
    std::unique_ptr<WindowWatch> watchTopLevelWindows(WindowListChanged changed) override;

    // The windows of a listing as the interface reports them, topmost first; handles of windows no longer listed
    // are forgotten.
    std::vector<TopLevelWindow> toTopLevelWindows(std::vector<WindowState> windows);

private:
    explicit KWinWindowSystem(std::unique_ptr<KWinScripting> scripting);
    std::optional<WindowState> readWindow(const QString &id);
    // Places once and waits until the window shows `frame` (and the maximize state asked for), it is gone, or the
    // deadline passes; the window as it was last reported, empty when it is gone or never answered.
    std::optional<WindowState> placeAndWait(const QString &id, const QRect &frame, bool maximize);

    std::unique_ptr<KWinScripting> m_scripting;
    WindowHandles<QString> m_handles;
    // The windows of the last listing, by id: their handles are forgotten when they are no longer listed, and a
    // placement takes the window's limits from here instead of asking KWin once more (a frame that turns out
    // otherwise is corrected by the placement itself).
    std::map<QString, WindowState> m_listed;
    // KWin's outputs, asked for once per pass of the event loop: the placement arithmetic asks several times in a row.
    std::optional<std::vector<Monitor>> m_monitors;
    std::map<QString, QRect> m_restoreFrames; // the frames this program maximized windows from, by id
};

} // namespace platform::kwin
