// Event handling of our connection: helper window, bounded waits on the connection's socket, barrier, timestamps.
#include "x11events.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <climits>

#include <poll.h>

namespace platform::x11 {

namespace {

constexpr uint8_t kErrorResponse = 0;
constexpr uint8_t kSyntheticBit = 0x80;

} // namespace

EventPump::EventPump(X11Connection &connection)
    : m_connection(connection)
{
    xcb_connection_t *c = m_connection.get();
    m_helper = xcb_generate_id(c);
    // Input-only, never mapped, not override-redirect: a window manager treats it as a client that has not been
    // mapped yet, which is what _NET_REQUEST_FRAME_EXTENTS is for.
    const uint32_t eventMask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, m_helper, m_connection.root(), -1, -1, 1, 1, 0,
        XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &eventMask);
    static constexpr char kName[] = "Framewright helper";
    xcb_change_property(
        c, XCB_PROP_MODE_REPLACE, m_helper, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, sizeof kName - 1, kName);
    xcb_flush(c);

    if (QCoreApplication::instance() != nullptr) {
        m_notifier = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(c), QSocketNotifier::Read);
        QObject::connect(
            m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] { eventsArrivedWhileIdle(); });
    }
}

EventPump::~EventPump()
{
    m_notifier.reset();
    if (!m_connection.broken()) {
        xcb_destroy_window(m_connection.get(), m_helper);
        xcb_flush(m_connection.get());
    }
}

void EventPump::eventsArrivedWhileIdle()
{
    if (m_connection.broken()) {
        m_notifier->setEnabled(false); // a closed socket stays readable
        return;
    }
    drain();
    if (m_idleHandler) {
        m_idleHandler();
    }
    // The idle handler's round trips read the events that arrive meanwhile into xcb's queue, which leaves the socket
    // without data for the notifier: they are handled here, and the idle handler runs for them again in another turn
    // of the event loop, so that a window that changes all the time does not hold the program in this loop.
    if (drain()) {
        QMetaObject::invokeMethod(
            m_notifier.get(), [this] { eventsArrivedWhileIdle(); }, Qt::QueuedConnection);
    }
}

void EventPump::setIdleHandler(std::function<void()> handler)
{
    m_idleHandler = std::move(handler);
}

bool EventPump::drain()
{
    bool handled = false;
    while (Reply<xcb_generic_event_t> event {xcb_poll_for_event(m_connection.get())}) {
        handle(*event);
        handled = true;
    }
    return handled;
}

bool EventPump::waitForEvent(const QDeadlineTimer &deadline)
{
    xcb_connection_t *c = m_connection.get();
    for (;;) {
        if (Reply<xcb_generic_event_t> event {xcb_poll_for_event(c)}) {
            handle(*event);
            return true;
        }
        if (m_connection.broken() || deadline.hasExpired()) {
            return false;
        }
        xcb_flush(c);
        pollfd fd {xcb_get_file_descriptor(c), POLLIN, 0};
        const int timeoutMs = int(std::clamp<qint64>(deadline.remainingTime(), 0, INT_MAX));
        if (poll(&fd, 1, timeoutMs) < 0 && errno != EINTR) {
            return false;
        }
    }
}

void EventPump::handle(const xcb_generic_event_t &event)
{
    const uint8_t type = event.response_type & ~kSyntheticBit;
    if (type == kErrorResponse) {
        const auto &error = reinterpret_cast<const xcb_generic_error_t &>(event);
        qCDebug(lcX11) << "X error" << error.error_code << "in request" << error.major_code << "for" << Qt::hex
                       << error.resource_id;
        return;
    }
    if (type == XCB_PROPERTY_NOTIFY) {
        const auto &notify = reinterpret_cast<const xcb_property_notify_event_t &>(event);
        const bool newValue = notify.state == XCB_PROPERTY_NEW_VALUE;
        const bool frameExtents = notify.atom == m_connection.atoms().netFrameExtents;
        if (notify.window == m_helper) {
            if (newValue) {
                m_lastTime = notify.time;
                if (frameExtents) {
                    m_helperBarrier.answer();
                } else if (notify.atom == m_connection.atoms().framewrightTimestamp) {
                    ++m_timestampsReceived;
                }
            }
            return;
        }
        if (notify.window == m_connection.root()) { // selected for the barrier only
            if (newValue && frameExtents) {
                m_lastTime = notify.time;
                m_rootBarrier.answer();
            }
            return;
        }
    }
    if (m_listener) {
        m_listener(event);
    }
}

bool EventPump::barrier(const QDeadlineTimer &deadline)
{
    const Atoms &atoms = m_connection.atoms();
    const bool askHelper = m_barrierWindow != BarrierWindow::Root;
    const bool askRoot = m_barrierWindow != BarrierWindow::Helper;
    if (askHelper) {
        // Deleting first makes sure the window manager's answer is a change, even with the same extents.
        xcb_delete_property(m_connection.get(), m_helper, atoms.netFrameExtents);
        sendRootMessage(m_helper, atoms.netRequestFrameExtents, {});
        ++m_helperBarrier.sent;
    }
    if (askRoot) {
        watchRootProperties(true);
        sendRootMessage(m_connection.root(), atoms.netRequestFrameExtents, {});
        ++m_rootBarrier.sent;
    }
    const auto answered = [](const BarrierChannel &channel) { return channel.answered >= channel.sent; };
    const bool passed = waitUntil(
        [&] { return (askHelper && answered(m_helperBarrier)) || (askRoot && answered(m_rootBarrier)); }, deadline);
    if (passed && m_barrierWindow == BarrierWindow::Unknown) {
        m_barrierWindow = answered(m_helperBarrier) ? BarrierWindow::Helper : BarrierWindow::Root;
    }
    if (!passed) {
        qCDebug(lcX11) << "the window manager did not answer _NET_REQUEST_FRAME_EXTENTS in time";
    }
    // An answer still owed on either window is not waited for by a later barrier.
    m_helperBarrier.giveUp();
    m_rootBarrier.giveUp();
    watchRootProperties(m_barrierWindow == BarrierWindow::Root);
    return passed;
}

// Our connection's selection on the root window: its property changes while the barrier may be answered there.
void EventPump::watchRootProperties(bool watch)
{
    if (watch != m_watchingRoot) {
        const uint32_t mask = watch ? XCB_EVENT_MASK_PROPERTY_CHANGE : XCB_EVENT_MASK_NO_EVENT;
        xcb_change_window_attributes(m_connection.get(), m_connection.root(), XCB_CW_EVENT_MASK, &mask);
        m_watchingRoot = watch;
    }
}

xcb_timestamp_t EventPump::serverTime(const QDeadlineTimer &deadline)
{
    xcb_change_property(m_connection.get(), XCB_PROP_MODE_APPEND, m_helper, m_connection.atoms().framewrightTimestamp,
        XCB_ATOM_INTEGER, 32, 0, nullptr);
    const uint64_t ticket = ++m_timestampsAsked;
    if (!waitUntil([this, ticket] { return m_timestampsReceived >= ticket; }, deadline)) {
        m_timestampsReceived = m_timestampsAsked;
        return XCB_CURRENT_TIME;
    }
    return m_lastTime;
}

void EventPump::sendRootMessage(xcb_window_t window, xcb_atom_t type, const std::array<uint32_t, 5> &data)
{
    xcb_client_message_event_t message {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = type;
    std::copy(data.begin(), data.end(), message.data.data32);
    xcb_send_event(m_connection.get(), 0, m_connection.root(),
        XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char *>(&message));
}

} // namespace platform::x11
