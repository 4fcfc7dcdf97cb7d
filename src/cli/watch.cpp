// The watch session, and the event loop of --watch with its signal handling.
#include "watch.h"

#include "commands.h"
#include "terminationsignals.h"

#include "placement/windowlist.h"

#include <QCoreApplication>

WatchSession::WatchSession(std::vector<cParameters> entries, platform::WindowSystem &windowSystem, Applied applied)
    : m_entries(std::move(entries))
    , m_windowSystem(windowSystem)
    , m_applied(std::move(applied))
{ }

void WatchSession::windowsChanged(const std::vector<platform::TopLevelWindow> &windows)
{
    const std::vector<platform::TopLevelWindow> offered = offeredWindows(windows);
    std::set<std::pair<platform::WindowId, size_t>> matching;
    for (size_t e = 0; e < m_entries.size(); ++e) {
        const cParameters &entry = m_entries[e];
        ApplyScope newlyMatching;
        for (const auto &window : matchingWindows(entry, offered)) {
            matching.emplace(window.id, e);
            if (m_started && !m_matching.contains({window.id, e})) {
                newlyMatching.windows.push_back(window);
            }
        }
        for (const AppliedWindow &applied : applyEntry(entry, m_windowSystem, newlyMatching)) {
            m_applied(entry, applied);
        }
    }
    m_matching = std::move(matching);
    m_started = true;
}

void reportApplied(
    platform::WindowSystem &windowSystem, const AppliedWindow &applied, QTextStream &out, QTextStream &errors)
{
    printWindow(windowSystem, applied.window, out);
    out.flush();
    const QString named = QStringLiteral("window %1 (%2)").arg(windowId(applied.window.id), applied.window.title);
    if (!applied.refusal.isEmpty()) {
        printError(errors, named + " was not placed: " + applied.refusal);
    } else if (!applied.landed) {
        printError(errors, named + " did not take its placement");
    }
}

int runWatch(const Invocation &invocation)
{
    QTextStream out(stdout);
    QTextStream errors(stderr);
    SavedEntries entries;
    if (const auto status = loadEntries(invocation, entries, errors)) {
        return *status;
    }
    std::vector<cParameters> watched;
    if (const auto status = findEntries(entries, invocation.descriptions, watched, errors)) {
        return *status;
    }
    std::erase_if(watched, [](const cParameters &entry) { return entry.Title.isEmpty(); });
    if (watched.empty()) {
        errors << "framewright: no saved entry with a window title to watch for" << Qt::endl;
        return kExitUnknownEntry;
    }
    // Installed before the window system starts threads of its own (Qt's D-Bus thread): the handler is the
    // process's, so a signal that one of them takes quits the loop as well. A signal that comes from here on ends
    // the watch through the event loop, even before the loop runs.
    if (!quitOnTerminationSignals({SIGTERM, SIGINT})) {
        errors << "framewright: cannot wait for termination signals" << Qt::endl;
        return kExitUsage;
    }
    eventLoopStarts();
    const auto windowSystem = openWindowSystem(errors);
    if (!windowSystem) {
        return kExitNoDisplay;
    }
    const size_t watchedCount = watched.size();
    WatchSession session(std::move(watched), *windowSystem,
        [&](const cParameters &, const AppliedWindow &applied) { reportApplied(*windowSystem, applied, out, errors); });
    bool displayLost = false;
    const auto watch
        = windowSystem->watchTopLevelWindows([&](std::optional<std::vector<platform::TopLevelWindow>> windows) {
              if (!windows) {
                  displayLost = true;
                  QCoreApplication::quit();
                  return;
              }
              session.windowsChanged(*windows);
          });
    if (!watch) {
        errors << "framewright: cannot watch the windows of the X display" << Qt::endl;
        return kExitNoDisplay;
    }
    // Windows that open from now on are looked at; a supervisor (or a test) can wait for this line.
    errors << "framewright: watching for " << watchedCount << (watchedCount == 1 ? " entry" : " entries") << Qt::endl;
    QCoreApplication::exec();
    if (displayLost) {
        errors << "framewright: the X display went away" << Qt::endl;
        return kExitNoDisplay;
    }
    return kExitOk;
}
