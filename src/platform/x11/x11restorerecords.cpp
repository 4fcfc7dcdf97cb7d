// Restore records: writing, deleting, and watching windows that carry one.
#include "x11restorerecords.h"

#include "x11windowstate.h"

#include <memory>
#include <utility>
#include <vector>

namespace platform::x11 {

namespace {

constexpr uint8_t kResponseTypeMask = 0x7F; // without the bit that marks a SendEvent
constexpr uint32_t kWatchedEvents = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;

QRect maximizedRect(const RestoreRecord &r)
{
    return QRect(r.maximizedX, r.maximizedY, r.maximizedWidth, r.maximizedHeight);
}

} // namespace

RestoreRecords::RestoreRecords(X11Connection &connection)
    : m_connection(connection)
{ }

uint32_t RestoreRecords::restingEventMask(xcb_window_t window) const
{
    return watched(window) ? kWatchedEvents : uint32_t {XCB_EVENT_MASK_NO_EVENT};
}

void RestoreRecords::write(xcb_window_t window, const RestoreRecord &record, QSize restoredClientSize)
{
    writeProperty(window, record);
    m_marked.erase(window); // what happened before the record is no reason to drop it
    m_watched[window] = restoredClientSize;
    select(window, kWatchedEvents);
}

void RestoreRecords::writeProperty(xcb_window_t window, const RestoreRecord &record)
{
    const std::vector<uint32_t> items = restoreRecordItems(record);
    // Unchecked: a window that vanished meanwhile only leaves an error in the event queue, which is drained.
    xcb_change_property(m_connection.get(), XCB_PROP_MODE_REPLACE, window, m_connection.atoms().framewrightRestoreRect,
        XCB_ATOM_INTEGER, 32, static_cast<uint32_t>(items.size()), items.data());
}

void RestoreRecords::follow(xcb_window_t window)
{
    if (m_watched.emplace(window, std::nullopt).second) {
        select(window, kWatchedEvents);
    }
}

void RestoreRecords::followRecorded(const std::vector<xcb_window_t> &windows)
{
    std::vector<std::pair<xcb_window_t, PendingProperty>> pending;
    pending.reserve(windows.size());
    for (const xcb_window_t window : windows) {
        if (!watched(window)) {
            pending.emplace_back(window,
                PendingProperty(
                    m_connection.get(), window, m_connection.atoms().framewrightRestoreRect, kRestoreRecordItems));
        }
    }
    for (auto &[window, request] : pending) {
        const Property record = request.get();
        if (record.received() && parseRestoreRecord(record.value(), XCB_ATOM_INTEGER)) {
            follow(window);
        }
    }
}

void RestoreRecords::erase(xcb_window_t window)
{
    xcb_delete_property(m_connection.get(), window, m_connection.atoms().framewrightRestoreRect);
    if (m_watched.contains(window)) {
        select(window, XCB_EVENT_MASK_NO_EVENT);
    }
    forget(window);
}

void RestoreRecords::forget(xcb_window_t window)
{
    m_watched.erase(window);
    m_marked.erase(window);
}

// Unchecked: for a window that is gone the error lands in the event queue, which is drained.
void RestoreRecords::select(xcb_window_t window, uint32_t mask)
{
    xcb_change_window_attributes(m_connection.get(), window, XCB_CW_EVENT_MASK, &mask);
}

void RestoreRecords::handleEvent(const xcb_generic_event_t &event)
{
    switch (event.response_type & kResponseTypeMask) {
    case XCB_PROPERTY_NOTIFY: {
        const auto &notify = reinterpret_cast<const xcb_property_notify_event_t &>(event);
        if (notify.atom == m_connection.atoms().netWmState && watched(notify.window)) {
            m_marked[notify.window];
        }
        break;
    }
    case XCB_CONFIGURE_NOTIFY: {
        // The client's own notifications (real ones carry its new size; a window manager's synthetic ones after a
        // move carry the size it has), not those of the windows around it.
        const auto &notify = reinterpret_cast<const xcb_configure_notify_event_t &>(event);
        const auto found = m_watched.find(notify.window);
        if (notify.event == notify.window && found != m_watched.end()) {
            Changes &changes = m_marked[notify.window];
            changes.restored = changes.restored || found->second == QSize(notify.width, notify.height);
        }
        break;
    }
    case XCB_DESTROY_NOTIFY: {
        const auto &notify = reinterpret_cast<const xcb_destroy_notify_event_t &>(event);
        if (notify.event == notify.window) {
            forget(notify.window);
        }
        break;
    }
    default:
        break;
    }
}

void RestoreRecords::check()
{
    if (m_marked.empty()) {
        return;
    }
    const std::map<xcb_window_t, Changes> marked = std::exchange(m_marked, {});
    // All requests go out before any answer is read: one round trip for every marked window.
    std::vector<std::unique_ptr<WindowStateRequest>> requests;
    for (const auto &entry : marked) {
        requests.push_back(std::make_unique<WindowStateRequest>(m_connection, entry.first));
    }
    auto request = requests.begin();
    for (const auto &[window, changes] : marked) {
        review(window, changes, (*request++)->get());
    }
    xcb_flush(m_connection.get());
}

void RestoreRecords::review(xcb_window_t window, const Changes &changes, const std::optional<WindowState> &state)
{
    if (!state) {
        forget(window); // gone
        return;
    }
    // Seen with its restored size, the window left the maximized state in between even when it is maximized again
    // now: where it is restored to now is not known.
    if (!state->maximized() || !state->record || changes.restored
        || !sameMaximizedPlace(maximizedRect(*state->record), state->outer())) {
        erase(window);
        return;
    }
    if (maximizedRect(*state->record) != state->outer()) {
        // Resized by the window manager while it stayed maximized (KWin rounds a window with resize increments once
        // more after it reported the window maximized; a panel that appears changes the work area).
        RestoreRecord renewed = *state->record;
        const QRect outer = state->outer();
        renewed.maximizedX = outer.x();
        renewed.maximizedY = outer.y();
        renewed.maximizedWidth = outer.width();
        renewed.maximizedHeight = outer.height();
        writeProperty(window, renewed);
    }
}

} // namespace platform::x11
