// The watch session, and the event loop of --watch with its signal handling.
#include "watch.h"

#include "commands.h"

#include "placement/windowlist.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

// SIGTERM and SIGINT blocked and read from a descriptor, so that they arrive as ordinary events of the loop: the
// loop quits and everything is torn down in order, nothing runs inside a signal handler.
class TerminationSignals
{
public:
    TerminationSignals()
    {
        sigemptyset(&m_signals);
        sigaddset(&m_signals, SIGTERM);
        sigaddset(&m_signals, SIGINT);
        sigprocmask(SIG_BLOCK, &m_signals, nullptr);
        m_fd = signalfd(-1, &m_signals, SFD_CLOEXEC | SFD_NONBLOCK);
        if (m_fd >= 0) {
            m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
            QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] {
                // Read, so that the signal is no longer pending when it is unblocked again.
                signalfd_siginfo info {};
                while (::read(m_fd, &info, sizeof info) == ssize_t(sizeof info)) { }
                QCoreApplication::quit();
            });
        }
    }
    ~TerminationSignals()
    {
        m_notifier.reset();
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        sigprocmask(SIG_UNBLOCK, &m_signals, nullptr);
    }
    TerminationSignals(const TerminationSignals &) = delete;
    TerminationSignals &operator=(const TerminationSignals &) = delete;

    bool ok() const { return m_fd >= 0; }

private:
    sigset_t m_signals {};
    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace

WatchSession::WatchSession(std::vector<cParameters> entries, platform::WindowSystem &windowSystem, Applied applied)
    : m_entries(std::move(entries))
    , m_windowSystem(windowSystem)
    , m_applied(std::move(applied))
{ }

void WatchSession::windowsChanged(const std::vector<platform::TopLevelWindow> &windows)
{
    std::vector<platform::TopLevelWindow> offered;
    for (const auto &window : windows) {
        if (isOffered(window)) {
            offered.push_back(window);
        }
    }
    std::set<std::pair<platform::WindowId, size_t>> matching;
    for (size_t e = 0; e < m_entries.size(); ++e) {
        const cParameters &entry = m_entries[e];
        std::vector<platform::TopLevelWindow> newlyMatching;
        for (const auto &window : matchingWindows(entry, offered)) {
            matching.emplace(window.id, e);
            if (m_started && !m_matching.contains({window.id, e})) {
                newlyMatching.push_back(window);
            }
        }
        for (const AppliedWindow &applied : applyEntry(entry, m_windowSystem, newlyMatching)) {
            m_applied(entry, applied);
        }
    }
    m_matching = std::move(matching);
    m_started = true;
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
    // Blocked before the window system starts threads of its own (Qt's D-Bus thread), which inherit the mask: a
    // signal left unblocked in one of them would end the process there.
    const TerminationSignals termination;
    if (!termination.ok()) {
        errors << "framewright: cannot wait for termination signals" << Qt::endl;
        return kExitUsage;
    }
    const auto windowSystem = openWindowSystem(errors);
    if (!windowSystem) {
        return kExitNoDisplay;
    }
    const size_t watchedCount = watched.size();
    WatchSession session(std::move(watched), *windowSystem, [&](const cParameters &, const AppliedWindow &applied) {
        printWindow(*windowSystem, applied.window, out);
        out.flush();
        if (!applied.landed) {
            errors << "framewright: window 0x" << Qt::hex << applied.window.id << Qt::dec << " ("
                   << applied.window.title << ") did not take its placement" << Qt::endl;
        }
    });
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
