// X11 backend of the window-system interface. Monitors come from RandR 1.5 GetMonitors; each is named by the
// monitor-name descriptor of its first output's EDID, else by that output's name, else by the monitor's own name.
// The window operations are put together here from the listing, window-state and placement pieces.
#include "x11windowsystem.h"

#include "platform/edid.h"
#include "platform/monitororder.h"
#include "x11connection.h"
#include "x11events.h"
#include "x11placement.h"
#include "x11restorerecords.h"
#include "x11windowlist.h"
#include "x11windowmanager.h"
#include "x11windowstate.h"
#include "x11windowwatch.h"

#include <xcb/randr.h>

#include <algorithm>

namespace platform::x11 {

namespace {

// An EDID base block is 128 bytes; extension blocks follow in 128-byte steps. The name lives in the base block,
// so the request asks for no more than that (the length is in 32-bit units).
constexpr uint32_t kEdidRequestLongs = 128 / 4;

QString atomName(xcb_connection_t *c, xcb_get_atom_name_cookie_t cookie)
{
    Reply<xcb_get_atom_name_reply_t> reply(xcb_get_atom_name_reply(c, cookie, nullptr));
    if (!reply) {
        return {};
    }
    return QString::fromUtf8(xcb_get_atom_name_name(reply.get()), xcb_get_atom_name_name_length(reply.get()));
}

QString outputName(xcb_connection_t *c, xcb_randr_get_output_info_cookie_t cookie)
{
    Reply<xcb_randr_get_output_info_reply_t> reply(xcb_randr_get_output_info_reply(c, cookie, nullptr));
    if (!reply) {
        return {};
    }
    const int length = xcb_randr_get_output_info_name_length(reply.get());
    return QString::fromUtf8(reinterpret_cast<const char *>(xcb_randr_get_output_info_name(reply.get())), length);
}

QString edidName(xcb_connection_t *c, xcb_randr_get_output_property_cookie_t cookie)
{
    Reply<xcb_randr_get_output_property_reply_t> reply(xcb_randr_get_output_property_reply(c, cookie, nullptr));
    if (!reply || reply->format != 8) {
        return {};
    }
    const int length = xcb_randr_get_output_property_data_length(reply.get());
    const uint8_t *data = xcb_randr_get_output_property_data(reply.get());
    return QString::fromStdString(edidMonitorName(data, length < 0 ? 0 : static_cast<size_t>(length)));
}

} // namespace

std::unique_ptr<X11WindowSystem> X11WindowSystem::open(const char *displayName)
{
    auto connection = X11Connection::open(displayName);
    if (!connection) {
        return nullptr;
    }
    return std::unique_ptr<X11WindowSystem>(new X11WindowSystem(std::move(connection)));
}

std::optional<std::string> X11WindowSystem::unreachableReason(const char *displayName)
{
    return X11Connection::unreachableReason(displayName);
}

X11WindowSystem::X11WindowSystem(std::unique_ptr<X11Connection> connection)
    : m_connection(std::move(connection))
    , m_events(std::make_unique<EventPump>(*m_connection))
    , m_records(std::make_unique<RestoreRecords>(*m_connection))
{
    m_events->setListener([this](const xcb_generic_event_t &event) { m_records->handleEvent(event); });
    m_events->setIdleHandler([this] { m_records->check(); });
}

X11WindowSystem::~X11WindowSystem() = default;

Monitor X11WindowSystem::rootMonitor() const
{
    xcb_connection_t *c = m_connection->get();
    Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, m_connection->root()), nullptr));
    Monitor monitor;
    monitor.primary = true;
    if (geometry) {
        monitor.rect = QRect(0, 0, geometry->width, geometry->height);
    }
    return monitor;
}

std::vector<Monitor> X11WindowSystem::monitors()
{
    return readMonitors(true);
}

std::vector<Monitor> X11WindowSystem::monitorLayout()
{
    return readMonitors(false);
}

std::vector<Monitor> X11WindowSystem::readMonitors(bool withNames)
{
    if (!m_connection->hasRandrMonitors()) {
        return {rootMonitor()};
    }
    xcb_connection_t *c = m_connection->get();
    Reply<xcb_randr_get_monitors_reply_t> reply(
        xcb_randr_get_monitors_reply(c, xcb_randr_get_monitors(c, m_connection->root(), 1), nullptr));
    if (!reply || xcb_randr_get_monitors_monitors_length(reply.get()) <= 0) {
        return {rootMonitor()};
    }

    // All name requests go out before any reply is read: one round trip for the whole list.
    struct Pending
    {
        Monitor monitor;
        std::optional<xcb_get_atom_name_cookie_t> monitorName;
        std::optional<xcb_randr_get_output_info_cookie_t> outputInfo;
        std::optional<xcb_randr_get_output_property_cookie_t> edid;
    };
    std::vector<Pending> pending;
    for (auto it = xcb_randr_get_monitors_monitors_iterator(reply.get()); it.rem > 0;
         xcb_randr_monitor_info_next(&it)) {
        const xcb_randr_monitor_info_t *info = it.data;
        Pending p;
        p.monitor.rect = QRect(info->x, info->y, info->width, info->height);
        p.monitor.primary = info->primary != 0;
        if (withNames) {
            p.monitorName = xcb_get_atom_name(c, info->name);
        }
        if (withNames && xcb_randr_monitor_info_outputs_length(info) > 0) {
            const xcb_randr_output_t output = xcb_randr_monitor_info_outputs(info)[0];
            p.outputInfo = xcb_randr_get_output_info(c, output, XCB_CURRENT_TIME);
            if (m_connection->atoms().edid != XCB_ATOM_NONE) {
                p.edid = xcb_randr_get_output_property(
                    c, output, m_connection->atoms().edid, XCB_GET_PROPERTY_TYPE_ANY, 0, kEdidRequestLongs, 0, 0);
            }
        }
        pending.push_back(p);
    }

    std::vector<Monitor> result;
    for (Pending &p : pending) {
        const QString ownName = p.monitorName ? atomName(c, *p.monitorName) : QString();
        const QString portName = p.outputInfo ? outputName(c, *p.outputInfo) : QString();
        const QString displayName = p.edid ? edidName(c, *p.edid) : QString();
        p.monitor.name = !displayName.isEmpty() ? displayName : !portName.isEmpty() ? portName : ownName;
        result.push_back(p.monitor);
    }
    orderMonitors(result);
    return result;
}

// Every operation starts and ends with the event queue empty, so that events and errors never pile up between
// operations, and with the restore records brought up to date.
class X11WindowSystem::Operation
{
public:
    explicit Operation(X11WindowSystem &system)
        : m_system(system)
    {
        m_system.m_events->drain();
        m_system.m_records->check();
    }
    ~Operation()
    {
        m_system.m_events->drain();
        m_system.m_records->check();
        xcb_flush(m_system.m_connection->get());
    }
    Operation(const Operation &) = delete;
    Operation &operator=(const Operation &) = delete;

private:
    X11WindowSystem &m_system;
};

// Remembers the check window for the next probe, and logs once per window manager what it lacks and what is done
// instead.
void X11WindowSystem::noteWindowManager(const WindowManager &wm)
{
    const bool known = m_reportedWindowManager && wm.checkWindow == m_checkWindow;
    m_checkWindow = wm.checkWindow;
    if (known) {
        return;
    }
    m_reportedWindowManager = true;
    m_barrierUnanswered = false;
    if (!wm.ewmh) {
        qCInfo(lcX11) << "no EWMH window manager: windows are listed from the root window's children and moved with"
                         " ConfigureWindow; they cannot be maximized";
        return;
    }
    const Atoms &a = m_connection->atoms();
    const std::pair<xcb_atom_t, const char *> features[] = {
        {a.netClientListStacking,
            "_NET_CLIENT_LIST_STACKING: windows are listed in their mapping order, or from the root window's children"},
        {a.netMoveResizeWindow, "_NET_MOVERESIZE_WINDOW: windows are moved with ConfigureWindow"},
        {a.netRequestFrameExtents, "_NET_REQUEST_FRAME_EXTENTS: waits follow the windows' own events"},
        {a.netFrameExtents, "_NET_FRAME_EXTENTS: frames are measured from the window tree"},
        {a.netWmStateHidden, "_NET_WM_STATE_HIDDEN: every iconic window counts as minimized"},
        {a.netWmStateMaximizedVert, "_NET_WM_STATE_MAXIMIZED_VERT: windows cannot be maximized"},
        {a.netWmStateMaximizedHorz, "_NET_WM_STATE_MAXIMIZED_HORZ: windows cannot be maximized"},
        {a.netActiveWindow, "_NET_ACTIVE_WINDOW: windows are not activated"},
    };
    for (const auto &[atom, fallback] : features) {
        if (!wm.supports(atom)) {
            qCInfo(lcX11) << "the window manager has no" << fallback;
        }
    }
}

std::vector<TopLevelWindow> X11WindowSystem::topLevelWindows()
{
    if (m_connection->broken()) {
        return {};
    }
    const Operation operation(*this);
    const Atoms &atoms = m_connection->atoms();
    WindowManagerProbe probe(*m_connection, m_checkWindow);
    PendingProperty stacking(m_connection->get(), m_connection->root(), atoms.netClientListStacking, kMaxListedWindows);
    PendingProperty mapping(m_connection->get(), m_connection->root(), atoms.netClientList, kMaxListedWindows);
    // The lists come with the root window's check property: the windows they name are described in the batch
    // that checks the window manager's check window (a batch left uncollected when the lists are not the ones to
    // use).
    probe.askCheckWindow();
    // Both lists run bottom to top: topmost first in ours. xfwm4 4.18 publishes the stacking list only after its
    // first restack, so with few windows it is missing or shorter than the mapping list, and fluxbox publishes the
    // mapping order as its stacking list: then the mapping list names the windows and the frames' order among the
    // root window's children gives their stacking.
    std::vector<uint32_t> windows = values32(stacking.get().value(), XCB_ATOM_WINDOW, kMaxListedWindows);
    std::vector<uint32_t> mapped = values32(mapping.get().value(), XCB_ATOM_WINDOW, kMaxListedWindows);
    const bool stackingKnown = mapped.size() < 2 || (windows.size() >= mapped.size() && windows != mapped);
    if (windows.size() < mapped.size()) {
        windows = std::move(mapped);
    }
    std::reverse(windows.begin(), windows.end());
    std::optional<ManagedWindowsDescription> described;
    if (stackingKnown) {
        described.emplace(*m_connection, windows);
    }
    const WindowManager wm = probe.get();
    noteWindowManager(wm);
    if (!wm.supports(atoms.netClientListStacking) && !wm.supports(atoms.netClientList)) {
        return listRootChildren(*m_connection, m_events->helperWindow());
    }
    if (m_followRecords) {
        m_records->followRecorded(windows);
    }
    if (!described) {
        described.emplace(*m_connection, inStackingOrder(*m_connection, windows));
    }
    return described->get();
}

std::optional<WindowPlacement> X11WindowSystem::windowPlacement(WindowId window)
{
    if (m_connection->broken() || window == XCB_NONE || window == m_connection->root()) {
        return std::nullopt;
    }
    const Operation operation(*this);
    WindowManagerProbe probe(*m_connection, m_checkWindow);
    WindowStateRequest request(*m_connection, window);
    const WindowManager wm = probe.get();
    noteWindowManager(wm);
    const std::optional<WindowState> state = request.get();
    if (!state) {
        return std::nullopt;
    }
    WindowPlacement placement;
    placement.showState = showState(*state, wm, m_connection->atoms());
    if (recordMatches(*state)) {
        const RestoreRecord &r = *state->record;
        placement.normalRect = QRect(r.restoreX, r.restoreY, r.restoreWidth, r.restoreHeight);
        m_records->follow(window);
    } else {
        placement.normalRect = state->outer();
        if (state->record) {
            m_records->erase(window); // unmaximized, or maximized again by other means since it was written
        }
    }
    return placement;
}

bool X11WindowSystem::setWindowPlacement(WindowId window, const WindowPlacement &placement)
{
    if (m_connection->broken() || window == XCB_NONE || window == m_connection->root()
        || window == m_events->helperWindow()) {
        return false;
    }
    if (placement.showState == ShowState::Minimized) {
        qCWarning(lcX11) << "setWindowPlacement: Minimized is not a placement that can be set";
        return false;
    }
    const Operation operation(*this);
    WindowManagerProbe probe(*m_connection, m_checkWindow);
    WindowStateRequest request(*m_connection, window);
    const WindowManager wm = probe.get();
    noteWindowManager(wm);
    PlacementSetter setter(*m_connection, *m_events, *m_records, wm, !m_barrierUnanswered);
    const bool placed = setter.set(request.get(), placement);
    if (setter.barrierUnanswered() && !m_barrierUnanswered) {
        m_barrierUnanswered = true;
        qCInfo(lcX11) << "the window manager does not answer _NET_REQUEST_FRAME_EXTENTS: waits follow the windows'"
                         " own events";
    }
    return placed;
}

std::optional<WindowId> X11WindowSystem::activeWindow()
{
    if (m_connection->broken()) {
        return std::nullopt;
    }
    const Operation operation(*this);
    PendingProperty active(m_connection->get(), m_connection->root(), m_connection->atoms().netActiveWindow, 1);
    const std::vector<uint32_t> windows = values32(active.get().value(), XCB_ATOM_WINDOW, 1);
    if (windows.empty() || windows.front() == XCB_NONE) {
        return std::nullopt;
    }
    return windows.front();
}

std::unique_ptr<WindowWatch> X11WindowSystem::watchTopLevelWindows(WindowListChanged changed)
{
    if (m_connection->broken()) {
        return nullptr;
    }
    auto connection = X11Connection::open(m_connection->displayName().c_str());
    if (!connection) {
        return nullptr;
    }
    m_followRecords = true;
    return std::make_unique<X11WindowWatch>(*this, std::move(connection), std::move(changed));
}

} // namespace platform::x11
