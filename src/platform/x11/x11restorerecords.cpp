// Restore records: writing, deleting, and watching windows that carry one.
#include "x11restorerecords.h"

#include "x11requests.h"

#include <algorithm>
#include <vector>

namespace platform::x11 {

namespace {

constexpr uint32_t kMaxStates = 64;

} // namespace

RestoreRecords::RestoreRecords(X11Connection &connection)
    : m_connection(connection)
{ }

uint32_t RestoreRecords::restingEventMask(xcb_window_t window) const
{
    return watched(window) ? XCB_EVENT_MASK_PROPERTY_CHANGE : XCB_EVENT_MASK_NO_EVENT;
}

void RestoreRecords::write(xcb_window_t window, const RestoreRecord &record)
{
    xcb_connection_t *c = m_connection.get();
    const std::vector<uint32_t> items = restoreRecordItems(record);
    // Unchecked: a window that vanished meanwhile only leaves an error in the event queue, which is drained.
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, m_connection.atoms().framewrightRestoreRect, XCB_ATOM_INTEGER,
        32, static_cast<uint32_t>(items.size()), items.data());
    m_watched.insert(window);
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c, window, XCB_CW_EVENT_MASK, &mask);
}

void RestoreRecords::erase(xcb_window_t window)
{
    xcb_connection_t *c = m_connection.get();
    xcb_delete_property(c, window, m_connection.atoms().framewrightRestoreRect);
    if (m_watched.erase(window) > 0) {
        const uint32_t mask = XCB_EVENT_MASK_NO_EVENT;
        xcb_change_window_attributes(c, window, XCB_CW_EVENT_MASK, &mask);
    }
    m_marked.erase(window);
}

void RestoreRecords::handleEvent(const xcb_generic_event_t &event)
{
    if ((event.response_type & 0x7F) != XCB_PROPERTY_NOTIFY) {
        return;
    }
    const auto &notify = reinterpret_cast<const xcb_property_notify_event_t &>(event);
    if (notify.atom == m_connection.atoms().netWmState && watched(notify.window)) {
        m_marked.insert(notify.window);
    }
}

void RestoreRecords::check()
{
    if (m_marked.empty()) {
        return;
    }
    const Atoms &atoms = m_connection.atoms();
    std::vector<std::pair<xcb_window_t, PendingProperty>> pending;
    for (const xcb_window_t window : m_marked) {
        pending.emplace_back(window, PendingProperty(m_connection.get(), window, atoms.netWmState, kMaxStates));
    }
    m_marked.clear();
    for (auto &[window, request] : pending) {
        const Property state = request.get();
        if (!state.received()) {
            m_watched.erase(window); // gone
            continue;
        }
        const std::vector<uint32_t> states = values32(state.value(), XCB_ATOM_ATOM, kMaxStates);
        const auto has
            = [&states](xcb_atom_t atom) { return std::find(states.begin(), states.end(), atom) != states.end(); };
        if (!has(atoms.netWmStateMaximizedVert) || !has(atoms.netWmStateMaximizedHorz)) {
            erase(window);
        }
    }
    xcb_flush(m_connection.get());
}

} // namespace platform::x11
