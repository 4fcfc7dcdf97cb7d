// The events of our own X connection: only this class reads them. It owns an unmapped helper window that gives
// server timestamps and the window-manager barrier, and it waits for events with a deadline, never with a sleep.
#pragma once

#include "x11connection.h"

#include <QDeadlineTimer>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace platform::x11 {

class EventPump
{
public:
    explicit EventPump(X11Connection &connection);
    ~EventPump();

    EventPump(const EventPump &) = delete;
    EventPump &operator=(const EventPump &) = delete;

    // Receives every event except the helper window's own, during waits and drains.
    using Listener = std::function<void(const xcb_generic_event_t &)>;
    void setListener(Listener listener) { m_listener = std::move(listener); }
    // Called after events arrived while the program was idle (the Qt event loop ran), once they are handled.
    void setIdleHandler(std::function<void()> handler);

    // Handles every event that has arrived; whether there was any. Errors of unchecked requests end here: they
    // concern windows that vanished, are logged at debug level and dropped.
    bool drain();
    // Waits for one event until `deadline` and handles it; false at the deadline or on a broken connection.
    bool waitForEvent(const QDeadlineTimer &deadline);
    // Waits until `done()` holds, handling events meanwhile; false when the deadline came first.
    template<typename Done> bool waitUntil(Done done, const QDeadlineTimer &deadline)
    {
        while (!done()) {
            if (!waitForEvent(deadline)) {
                return done();
            }
        }
        return true;
    }

    // The window-manager barrier: asks the window manager for the frame extents of the unmapped helper window
    // (_NET_REQUEST_FRAME_EXTENTS) and waits until it sets them. The window manager handles its events in order,
    // so it has then handled every request and message sent before. False when it did not answer in time.
    // fluxbox answers the request only when it names the root window: the first barrier asks for both, and the
    // window answered first is the one asked for from then on.
    bool barrier(const QDeadlineTimer &deadline);
    // Whether the window manager has answered the barrier only for the root window. fluxbox answers it before it
    // has carried out every earlier request, so it says that the window manager has read them, not more.
    bool barrierOnRootOnly() const { return m_barrierWindow == BarrierWindow::Root; }
    // A current server timestamp: the time of the PropertyNotify that a zero-length append to the helper window
    // causes (ICCCM 2.1). 0 (CurrentTime) when none came in time.
    xcb_timestamp_t serverTime(const QDeadlineTimer &deadline);
    // The time of the helper window's last property change (a barrier's answer or serverTime()), a server
    // timestamp as good as a fresh one right after a barrier; 0 when there was none yet.
    xcb_timestamp_t lastServerTime() const { return m_lastTime; }

    xcb_window_t helperWindow() const { return m_helper; }

    // A client message to the root window about `window`, as EWMH has pagers and taskbars send them.
    void sendRootMessage(xcb_window_t window, xcb_atom_t type, const std::array<uint32_t, 5> &data);

private:
    // Requests and answers of the barrier on one window. Answers are counted, so that an answer that comes after
    // its barrier gave up cannot end a later barrier early: that many answers are ignored. The root window's
    // extents are answers to every client that asks for them: one that comes while none of ours is owed is
    // another's and ignored.
    struct BarrierChannel
    {
        uint64_t sent = 0;
        uint64_t answered = 0;
        uint64_t lateAnswersToIgnore = 0;

        void answer()
        {
            if (lateAnswersToIgnore > 0) {
                --lateAnswersToIgnore;
            } else if (answered < sent) {
                ++answered;
            }
        }
        void giveUp()
        {
            lateAnswersToIgnore += sent - answered;
            answered = sent;
        }
    };
    enum class BarrierWindow { Unknown, Helper, Root };

    void eventsArrivedWhileIdle();
    void handle(const xcb_generic_event_t &event);
    void watchRootProperties(bool watch);

    X11Connection &m_connection;
    xcb_window_t m_helper = XCB_NONE;
    Listener m_listener;
    std::function<void()> m_idleHandler;
    std::unique_ptr<QSocketNotifier> m_notifier;
    BarrierWindow m_barrierWindow = BarrierWindow::Unknown;
    BarrierChannel m_helperBarrier;
    BarrierChannel m_rootBarrier;
    bool m_watchingRoot = false;
    uint64_t m_timestampsAsked = 0;
    uint64_t m_timestampsReceived = 0;
    xcb_timestamp_t m_lastTime = XCB_CURRENT_TIME;
};

} // namespace platform::x11
