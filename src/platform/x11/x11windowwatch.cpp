// The window watch: event selection on its own connection, filtering, and one listing per burst of events.
#include "x11windowwatch.h"

#include "x11connection.h"

#include <QSocketNotifier>

#include <utility>

namespace platform::x11 {

namespace {

constexpr uint8_t kResponseTypeMask = 0x7F; // without the bit that marks a SendEvent

} // namespace

X11WindowWatch::X11WindowWatch(
    WindowSystem &system, std::unique_ptr<X11Connection> connection, WindowListChanged changed)
    : m_system(system)
    , m_connection(std::move(connection))
    , m_changed(std::move(changed))
{
    xcb_connection_t *c = m_connection->get();
    static constexpr char kClientList[] = "_NET_CLIENT_LIST";
    const Reply<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof kClientList - 1, kClientList), nullptr));
    m_netClientList = atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
    // The root's property changes carry the client lists; its children's map, unmap, reparent and destroy events
    // are the window list of a window manager without EWMH. Selecting these is open to every client.
    const uint32_t rootMask = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, m_connection->root(), XCB_CW_EVENT_MASK, &rootMask);
    // Nothing else may go out on this connection for a long time (no window to follow on an empty desktop): the
    // selection is made to take effect before the first listing, so a window that appears after it is heard.
    roundTrip();
    m_notifier = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(c), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] { eventsArrived(); });
    report();
}

X11WindowWatch::~X11WindowWatch() = default;

void X11WindowWatch::eventsArrived()
{
    bool changed = std::exchange(m_changeQueued, false);
    while (Reply<xcb_generic_event_t> event {xcb_poll_for_event(m_connection->get())}) {
        // Errors are those of selections on windows that vanished in between: nothing to do.
        changed = matters(*event) || changed;
    }
    if (m_connection->broken()) {
        m_notifier->setEnabled(false); // a closed socket stays readable
        m_changed(std::nullopt);
        return;
    }
    if (!changed) {
        return;
    }
    report();
    // A listing's round trip reads the events that arrive meanwhile into xcb's queue, which leaves the socket
    // without data for the notifier: they are looked at here and, when they matter, listed in another turn of the
    // event loop (a desktop that changes all the time does not hold the watch in this function).
    while (Reply<xcb_generic_event_t> event {xcb_poll_for_queued_event(m_connection->get())}) {
        m_changeQueued = matters(*event) || m_changeQueued;
    }
    if (m_changeQueued) {
        QMetaObject::invokeMethod(
            m_notifier.get(), [this] { eventsArrived(); }, Qt::QueuedConnection);
    }
}

bool X11WindowWatch::matters(const xcb_generic_event_t &event) const
{
    const Atoms &atoms = m_connection->atoms();
    switch (event.response_type & kResponseTypeMask) {
    case XCB_PROPERTY_NOTIFY: {
        const auto &notify = reinterpret_cast<const xcb_property_notify_event_t &>(event);
        if (notify.window == m_connection->root()) {
            return notify.atom == atoms.netClientListStacking || notify.atom == m_netClientList
                || notify.atom == atoms.netSupportingWmCheck;
        }
        // A restore record that another run writes is listed too, so that the window system follows it.
        return notify.atom == atoms.netWmName || notify.atom == XCB_ATOM_WM_NAME || notify.atom == atoms.wmState
            || notify.atom == XCB_ATOM_WM_TRANSIENT_FOR || notify.atom == atoms.framewrightRestoreRect;
    }
    case XCB_MAP_NOTIFY:
    case XCB_UNMAP_NOTIFY:
    case XCB_DESTROY_NOTIFY:
    case XCB_REPARENT_NOTIFY:
        return true;
    default:
        return false;
    }
}

void X11WindowWatch::report()
{
    std::vector<TopLevelWindow> windows = m_system.topLevelWindows();
    // A title set between the listing and the selection taking effect would go unheard: windows just followed
    // are listed once more.
    if (follow(windows)) {
        windows = m_system.topLevelWindows();
    }
    std::set<xcb_window_t> listed;
    for (const TopLevelWindow &window : windows) {
        listed.insert(window.id);
    }
    std::erase_if(m_followed, [&listed](xcb_window_t window) { return !listed.contains(window); });
    m_changed(std::move(windows));
}

bool X11WindowWatch::follow(const std::vector<TopLevelWindow> &windows)
{
    xcb_connection_t *c = m_connection->get();
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    bool added = false;
    for (const TopLevelWindow &window : windows) {
        if (m_followed.insert(window.id).second) {
            xcb_change_window_attributes(c, window.id, XCB_CW_EVENT_MASK, &mask);
            added = true;
        }
    }
    if (added) {
        roundTrip();
    }
    return added;
}

void X11WindowWatch::roundTrip()
{
    xcb_connection_t *c = m_connection->get();
    const Reply<xcb_get_input_focus_reply_t> answer(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

} // namespace platform::x11
