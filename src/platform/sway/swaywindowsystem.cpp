// sway backend of the window-system interface: listing and reading through get_outputs and get_tree, placing
// through run_command on the window's container id ([con_id=N]), watching through a subscription.
#include "swaywindowsystem.h"

#include "platform/anchoredrect.h"
#include "platform/monitororder.h"
#include "swayipcconnection.h"
#include "swayplacement.h"
#include "swayreplies.h"
#include "swaywindowwatch.h"

#include <set>

namespace platform::sway {

std::unique_ptr<SwayWindowSystem> SwayWindowSystem::open(const QByteArray &socketPath)
{
    auto connection = IpcConnection::open(socketPath);
    if (!connection) {
        return nullptr;
    }
    return std::unique_ptr<SwayWindowSystem>(new SwayWindowSystem(std::move(connection), socketPath));
}

SwayWindowSystem::SwayWindowSystem(std::unique_ptr<IpcConnection> connection, QByteArray socketPath)
    : m_connection(std::move(connection))
    , m_socketPath(std::move(socketPath))
{ }

SwayWindowSystem::~SwayWindowSystem() = default;

std::vector<Monitor> SwayWindowSystem::monitors()
{
    std::vector<Monitor> monitors;
    if (const auto reply = m_connection->request(MessageType::GetOutputs)) {
        if (auto outputs = readOutputs(*reply)) {
            monitors = std::move(*outputs);
        } else {
            qCWarning(lcSway) << "get_outputs: a reply that is not a list of outputs";
        }
    }
    if (monitors.empty()) {
        // Without an active output (all switched off, or sway gone) the contract still asks for one monitor.
        monitors.push_back({QString(), QRect(), true});
    }
    orderMonitors(monitors);
    return monitors;
}

QSize SwayWindowSystem::layoutSize()
{
    QRect layout;
    for (const Monitor &monitor : monitors()) {
        layout |= monitor.rect;
    }
    return layout.size();
}

std::optional<std::vector<SwayWindow>> SwayWindowSystem::windows()
{
    const auto reply = m_connection->request(MessageType::GetTree);
    if (!reply) {
        return std::nullopt;
    }
    auto windows = readTree(*reply);
    if (!windows) {
        qCWarning(lcSway) << "get_tree: a reply that is not a tree of containers";
        return std::nullopt;
    }
    // Container ids are never reused while sway runs; forgetting the ones gone keeps the handle maps small.
    std::set<int64_t> present;
    for (const SwayWindow &window : *windows) {
        present.insert(window.conId);
        m_handles.handle(window.conId);
    }
    for (const int64_t known : m_known) {
        if (!present.contains(known)) {
            m_handles.forget(known);
        }
    }
    m_known = std::move(present);
    return windows;
}

std::optional<SwayWindow> SwayWindowSystem::window(int64_t conId)
{
    const auto all = windows();
    if (!all) {
        return std::nullopt;
    }
    for (const SwayWindow &window : *all) {
        if (window.conId == conId) {
            return window;
        }
    }
    return std::nullopt;
}

std::vector<TopLevelWindow> SwayWindowSystem::topLevelWindows()
{
    std::vector<TopLevelWindow> listed;
    for (const SwayWindow &window : windows().value_or(std::vector<SwayWindow>())) {
        const WindowId id = m_handles.handle(window.conId);
        if (id != 0) {
            listed.push_back({id, window.title, true, window.transient});
        }
    }
    return listed;
}

std::optional<WindowPlacement> SwayWindowSystem::windowPlacement(WindowId handle)
{
    const std::optional<int64_t> conId = m_handles.native(handle);
    const std::optional<SwayWindow> found = conId ? window(*conId) : std::nullopt;
    if (!found) {
        return std::nullopt;
    }
    WindowPlacement placement;
    placement.showState = found->scratchpad ? ShowState::Minimized : ShowState::Normal;
    placement.normalRect = found->outer;
    return placement;
}

QString SwayWindowSystem::placementRefusal(const WindowPlacement &placement) const
{
    if (placement.showState == ShowState::Maximized) {
        return QStringLiteral("sway has no maximized state: give the entry a size instead (100% x 100% fills the "
                              "monitor)");
    }
    return {};
}

bool SwayWindowSystem::runCommands(int64_t conId, const QStringList &messages)
{
    std::vector<QByteArray> payloads;
    for (const QString &commands : messages) {
        payloads.push_back(QStringLiteral("[con_id=%1] %2").arg(conId).arg(commands).toUtf8());
    }
    const auto replies = m_connection->requests(MessageType::RunCommand, payloads);
    if (!replies) {
        return false;
    }
    for (size_t i = 0; i < replies->size(); ++i) {
        QString error;
        const std::optional<bool> succeeded = readCommandReply((*replies)[i], &error);
        if (!succeeded) {
            qCWarning(lcSway) << "run_command: a reply that is not a list of results";
            return false;
        }
        if (!*succeeded) {
            // A window that vanished since it was read gives "No matching node": nothing to report.
            qCDebug(lcSway) << "run_command" << payloads[i] << "failed:" << error;
            return false;
        }
    }
    return true;
}

bool SwayWindowSystem::setWindowPlacement(WindowId handle, const WindowPlacement &placement)
{
    if (placement.showState != ShowState::Normal) {
        if (placement.showState == ShowState::Minimized) {
            qCWarning(lcSway) << "setWindowPlacement: Minimized is not a placement that can be set";
        }
        return false;
    }
    const std::optional<int64_t> conId = m_handles.native(handle);
    const std::optional<SwayWindow> before = conId ? window(*conId) : std::nullopt;
    if (!before) {
        return false;
    }
    const QRect target = placeableRect(placement.normalRect);
    const WindowAccess access {
        [this, id = *conId] { return window(id); },
        [this, id = *conId](const QStringList &messages) { return runCommands(id, messages); },
        layoutSize(),
    };
    const std::optional<SwayWindow> resized = resizeAndMove(*before, target, access);
    if (!resized) {
        return false;
    }
    // A size that sway's limits or the client refused keeps the point the anchor names; the probe's resizing may
    // have moved the window by a pixel. Focus raises it above the other floating windows.
    const QRect anchored = anchoredRect(target, resized->outer.size(), placement.anchor, kCoordinateLimitPx);
    if (!runCommands(*conId, {moveCommand(anchored.topLeft()) + QStringLiteral(", focus")})) {
        return false;
    }
    const std::optional<SwayWindow> placed = window(*conId);
    return placed && placed->outer == anchored;
}

std::optional<WindowId> SwayWindowSystem::activeWindow()
{
    for (const SwayWindow &window : windows().value_or(std::vector<SwayWindow>())) {
        if (window.focused) {
            const WindowId id = m_handles.handle(window.conId);
            return id != 0 ? std::optional<WindowId>(id) : std::nullopt;
        }
    }
    return std::nullopt;
}

std::unique_ptr<WindowWatch> SwayWindowSystem::watchTopLevelWindows(WindowListChanged changed)
{
    if (m_connection->broken()) {
        return nullptr;
    }
    auto connection = IpcConnection::open(m_socketPath);
    if (!connection) {
        return nullptr;
    }
    return SwayWindowWatch::start(*this, std::move(connection), std::move(changed));
}

} // namespace platform::sway
