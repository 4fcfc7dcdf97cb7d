// GNOME Shell backend: the window operations put together from the extension's calls; windows placed together
// are placed at the same time (gnomeplacements).
#include "gnomewindowsystem.h"

#include "gnomeplacements.h"
#include "gnomewindowwatch.h"
#include "platform/monitororder.h"

#include <algorithm>

#include <QDBusConnectionInterface>
#include <QLoggingCategory>

namespace platform::gnome {

namespace {

Q_LOGGING_CATEGORY(lcGnomeSystem, "framewright.gnome", QtWarningMsg)

QString extensionMissing()
{
    return QStringLiteral("GNOME Shell runs without Framewright's extension: enable it with \"gnome-extensions enable "
                          "%1\" (the first time after installing it, log out and in again before that)")
        .arg(extensionUuid());
}

ShowState showStateOf(const ShellWindow &window)
{
    return window.minimized ? ShowState::Minimized : window.maximized ? ShowState::Maximized : ShowState::Normal;
}

} // namespace

bool GnomeWindowSystem::shellRunning()
{
    const QDBusConnectionInterface *bus = openShellBus().interface();
    const bool running = bus && bus->isServiceRegistered(kShellService).value();
    if (!running) {
        closeShellBus();
    }
    return running;
}

GnomeWindowSystem::Opened GnomeWindowSystem::open()
{
    ShellClient shell(openShellBus());
    const auto failed = [](const QString &error) {
        closeShellBus();
        return Opened {nullptr, error};
    };
    switch (shell.presence()) {
    case ShellPresence::WithoutExtension:
        return failed(extensionMissing());
    case ShellPresence::NoAnswer:
        return failed(QStringLiteral("GNOME Shell does not answer on the session bus"));
    case ShellPresence::Extension:
        break;
    }
    auto monitors = shell.monitors();
    if (!monitors) {
        return failed(QStringLiteral("GNOME Shell's Framewright extension gives no monitor list that can be read"));
    }
    orderMonitors(*monitors);
    return {std::unique_ptr<GnomeWindowSystem>(new GnomeWindowSystem(std::move(*monitors))), {}};
}

GnomeWindowSystem::GnomeWindowSystem(std::vector<Monitor> monitors)
    : m_shell(openShellBus())
    , m_monitors(std::move(monitors))
{ }

GnomeWindowSystem::~GnomeWindowSystem()
{
    closeShellBus();
}

std::vector<Monitor> GnomeWindowSystem::monitors()
{
    if (auto monitors = m_shell.monitors()) {
        orderMonitors(*monitors);
        m_monitors = std::move(*monitors);
    }
    return m_monitors;
}

std::optional<std::vector<ShellWindow>> GnomeWindowSystem::listWindows()
{
    auto windows = m_shell.windows();
    if (!windows) {
        return std::nullopt;
    }
    std::set<uint64_t> listed;
    for (const ShellWindow &window : *windows) {
        listed.insert(window.id);
    }
    for (const uint64_t id : m_listed) {
        if (!listed.contains(id)) {
            m_handles.forget(id);
        }
    }
    m_listed = std::move(listed);
    return windows;
}

std::optional<ShellWindow> GnomeWindowSystem::findWindow(WindowId window)
{
    const std::optional<uint64_t> native = m_handles.native(window);
    if (!native) {
        return std::nullopt;
    }
    const auto windows = listWindows();
    if (!windows) {
        return std::nullopt;
    }
    for (const ShellWindow &listed : *windows) {
        if (listed.id == *native) {
            return listed;
        }
    }
    return std::nullopt;
}

std::vector<TopLevelWindow> GnomeWindowSystem::topLevelWindows()
{
    std::vector<TopLevelWindow> result;
    const auto windows = listWindows();
    for (const ShellWindow &window : windows.value_or(std::vector<ShellWindow>())) {
        const WindowId handle = m_handles.handle(window.id);
        if (handle != 0) {
            result.push_back({handle, window.title, window.shown, window.transient});
        }
    }
    return result;
}

std::optional<WindowPlacement> GnomeWindowSystem::windowPlacement(WindowId window)
{
    const auto found = findWindow(window);
    if (!found) {
        return std::nullopt;
    }
    WindowPlacement placement;
    placement.showState = showStateOf(*found);
    placement.normalRect = found->maximized && !found->restore.isNull() ? found->restore : found->frame;
    return placement;
}

bool GnomeWindowSystem::setWindowPlacement(WindowId window, const WindowPlacement &placement)
{
    return setWindowPlacements({window}, placement).front();
}

std::vector<bool> GnomeWindowSystem::setWindowPlacements(
    const std::vector<WindowId> &windows, const WindowPlacement &placement)
{
    std::vector<bool> taken(windows.size(), false);
    if (windows.empty()) {
        return taken;
    }
    if (placement.showState == ShowState::Minimized) {
        qCWarning(lcGnomeSystem) << "setWindowPlacement: Minimized is not a placement that can be set";
        return taken;
    }
    const auto listed = listWindows();
    if (!listed) {
        return taken;
    }
    std::vector<PlacementTarget> targets;
    std::vector<size_t> targetIndex; // of each target in `windows`
    for (size_t i = 0; i < windows.size(); ++i) {
        const std::optional<uint64_t> native = m_handles.native(windows[i]);
        const auto found = std::find_if(
            listed->begin(), listed->end(), [&](const ShellWindow &window) { return native && window.id == *native; });
        if (found != listed->end()) {
            targets.push_back({found->id, found->frame.size()});
            targetIndex.push_back(i);
        }
    }
    const auto placeAll = [this](const std::vector<PlaceRequest> &requests) { return m_shell.place(requests); };
    const std::vector<bool> placed = placeTogether(placeAll, targets, placement);
    for (size_t i = 0; i < placed.size(); ++i) {
        taken[targetIndex[i]] = placed[i];
    }
    return taken;
}

std::optional<WindowId> GnomeWindowSystem::activeWindow()
{
    const auto active = m_shell.activeWindow();
    if (!active || *active == 0 || *active > kMaxWindowId) {
        return std::nullopt;
    }
    const WindowId handle = m_handles.handle(*active);
    return handle == 0 ? std::nullopt : std::optional<WindowId>(handle);
}

std::unique_ptr<WindowWatch> GnomeWindowSystem::watchTopLevelWindows(WindowListChanged changed)
{
    return GnomeWindowWatch::start(*this, m_shell.bus(), std::move(changed));
}

} // namespace platform::gnome
