// Requests in flight on our connection, owned so that every reply and every error is consumed exactly once:
// a request whose answer is not wanted any more is discarded, never left in xcb's queues. Requests go out first,
// answers are collected after, so a batch costs one round trip.
#pragma once

#include "x11connection.h"
#include "x11properties.h"

#include <cstdlib>
#include <utility>

namespace platform::x11 {

// One request with a reply. get() gives the reply, or nullptr when the request failed: its error (BadWindow for a
// window that is gone, ...) is consumed there, since every caller treats a failed request as a vanished window.
template<typename ReplyT, typename CookieT, ReplyT *(*Collect)(xcb_connection_t *, CookieT, xcb_generic_error_t **)>
class Pending
{
public:
    Pending() = default;
    Pending(xcb_connection_t *connection, CookieT cookie)
        : m_connection(connection)
        , m_cookie(cookie)
    { }
    Pending(Pending &&other) noexcept
        : m_connection(std::exchange(other.m_connection, nullptr))
        , m_cookie(other.m_cookie)
    { }
    Pending &operator=(Pending &&other) noexcept
    {
        discard();
        m_connection = std::exchange(other.m_connection, nullptr);
        m_cookie = other.m_cookie;
        return *this;
    }
    ~Pending() { discard(); }

    Reply<ReplyT> get()
    {
        if (m_connection == nullptr) {
            return nullptr;
        }
        xcb_generic_error_t *error = nullptr;
        Reply<ReplyT> reply(Collect(std::exchange(m_connection, nullptr), m_cookie, &error));
        std::free(error);
        return reply;
    }

private:
    void discard()
    {
        if (m_connection != nullptr) {
            xcb_discard_reply(std::exchange(m_connection, nullptr), m_cookie.sequence);
        }
    }

    xcb_connection_t *m_connection = nullptr;
    CookieT m_cookie {};
};

using PendingGeometry = Pending<xcb_get_geometry_reply_t, xcb_get_geometry_cookie_t, &xcb_get_geometry_reply>;
using PendingTranslation
    = Pending<xcb_translate_coordinates_reply_t, xcb_translate_coordinates_cookie_t, &xcb_translate_coordinates_reply>;
using PendingAttributes
    = Pending<xcb_get_window_attributes_reply_t, xcb_get_window_attributes_cookie_t, &xcb_get_window_attributes_reply>;
using PendingTree = Pending<xcb_query_tree_reply_t, xcb_query_tree_cookie_t, &xcb_query_tree_reply>;
using PendingPropertyReply = Pending<xcb_get_property_reply_t, xcb_get_property_cookie_t, &xcb_get_property_reply>;

// A received property; value() views its bytes (valid while this object lives).
class Property
{
public:
    Property() = default;
    explicit Property(Reply<xcb_get_property_reply_t> reply);

    PropertyValue value() const;
    // Also false for a failed request (a window that is gone).
    bool received() const { return m_reply != nullptr; }

private:
    Reply<xcb_get_property_reply_t> m_reply;
};

// GetProperty of any type, reading at most `maxLongs` 32-bit units from the start.
class PendingProperty
{
public:
    PendingProperty() = default;
    PendingProperty(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t property, uint32_t maxLongs);

    Property get() { return Property(m_pending.get()); }

private:
    PendingPropertyReply m_pending;
};

} // namespace platform::x11
