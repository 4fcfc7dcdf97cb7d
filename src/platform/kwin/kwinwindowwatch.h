// Watching the top-level windows on KWin: a script stays loaded for as long as the watch lives and answers the
// whole window list whenever KWin reports a window added or removed, or a caption, minimized, hidden or transient
// change (watch.js). Answers that arrive together give one report; none is given while another operation of the
// backend waits for KWin, so that the caller is never entered twice. KWin leaving the bus ends the watch.
#pragma once

#include "kwinanswers.h"
#include "kwinscripting.h"
#include "platform/windowsystem.h"

#include <QDBusServiceWatcher>
#include <QTimer>

#include <memory>
#include <optional>
#include <vector>

namespace platform::kwin {

class KWinWindowSystem;

class KWinWindowWatch : public WindowWatch
{
public:
    // Empty when the watch script could not be loaded or gave no first list in time.
    static std::unique_ptr<KWinWindowWatch> start(
        KWinWindowSystem &system, KWinScripting &scripting, WindowListChanged changed);
    ~KWinWindowWatch() override;

private:
    KWinWindowWatch(KWinWindowSystem &system, KWinScripting &scripting, WindowListChanged changed);
    void received(const ScriptAnswer &answer);
    void report();
    void kwinGone();

    KWinWindowSystem &m_system;
    KWinScripting &m_scripting;
    WindowListChanged m_changed;
    std::unique_ptr<KWinScripting::Loaded> m_script;
    std::unique_ptr<QObject> m_context;               // owns the connections, so none outlives the watch
    std::optional<std::vector<WindowState>> m_latest; // the last list received and not reported yet
    QTimer m_coalesce;
    QDBusServiceWatcher m_kwinWatcher;
    bool m_reporting = false;
    bool m_ended = false;
};

} // namespace platform::kwin
