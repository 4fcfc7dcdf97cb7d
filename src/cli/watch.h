// --watch: keeps running and applies saved entries to windows as they appear or are retitled so that they match.
// Driven by the window system's change reports (no polling); ends on SIGTERM or SIGINT.
#pragma once

#include "commandline.h"

#include "entries/cparameters.h"
#include "placement/applyentry.h"
#include "platform/windowsystem.h"

#include <QTextStream>

#include <functional>
#include <set>
#include <utility>
#include <vector>

// What --watch decides on each report of the windows: an entry is applied to a window once when the window's title
// comes to match it (the window appeared, or was retitled), and again only after its title stopped matching in
// between. The windows of the first report are taken as they are.
class WatchSession
{
public:
    using Applied = std::function<void(const cParameters &entry, const AppliedWindow &applied)>;

    WatchSession(std::vector<cParameters> entries, platform::WindowSystem &windowSystem, Applied applied);

    // The windows as the watch reports them (all top-level windows; the offered ones are looked at).
    void windowsChanged(const std::vector<platform::TopLevelWindow> &windows);

private:
    std::vector<cParameters> m_entries;
    platform::WindowSystem &m_windowSystem;
    Applied m_applied;
    bool m_started = false;
    // (window, entry index) pairs whose title matched at the last report.
    std::set<std::pair<platform::WindowId, size_t>> m_matching;
};

// What --watch writes for a window it applied an entry to: the window's line on `out`, and on `errors` why it was
// not placed or did not land.
void reportApplied(
    platform::WindowSystem &windowSystem, const AppliedWindow &applied, QTextStream &out, QTextStream &errors);

int runWatch(const Invocation &invocation);
