// Owned requests: property replies viewed with their lengths checked.
#include "x11requests.h"

namespace platform::x11 {

Property::Property(Reply<xcb_get_property_reply_t> reply)
    : m_reply(std::move(reply))
{ }

PropertyValue Property::value() const
{
    PropertyValue value;
    if (!m_reply || m_reply->type == XCB_ATOM_NONE) {
        return value;
    }
    const int length = xcb_get_property_value_length(m_reply.get());
    // The reply's length fields come from the server; the value must fit in what xcb received.
    const size_t received = size_t(m_reply->length) * 4;
    if (length < 0 || size_t(length) > received
        || (m_reply->format != 8 && m_reply->format != 16 && m_reply->format != 32)) {
        return value;
    }
    value.type = m_reply->type;
    value.format = m_reply->format;
    value.bytes = std::span(static_cast<const uint8_t *>(xcb_get_property_value(m_reply.get())), size_t(length));
    value.truncated = m_reply->bytes_after != 0;
    return value;
}

PendingProperty::PendingProperty(
    xcb_connection_t *connection, xcb_window_t window, xcb_atom_t property, uint32_t maxLongs)
    : m_pending(connection, xcb_get_property(connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, maxLongs))
{ }

} // namespace platform::x11
