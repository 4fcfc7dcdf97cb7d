// Opening the connection, interning atoms, and probing the RandR version.
#include "x11connection.h"

#include <xcb/randr.h>

#include <cstring>

namespace platform::x11 {

Q_LOGGING_CATEGORY(lcX11, "framewright.x11")

namespace {

// RandR 1.5 introduced monitors (GetMonitors), which is what the monitor list is built from.
constexpr uint32_t kRandrMajor = 1;
constexpr uint32_t kRandrMinor = 5;

} // namespace

std::unique_ptr<X11Connection> X11Connection::open(const char *displayName)
{
    int screenNumber = 0;
    xcb_connection_t *connection = xcb_connect(displayName, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return nullptr;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i) {
        xcb_screen_next(&screens);
    }
    if (screens.rem == 0) {
        xcb_disconnect(connection);
        return nullptr;
    }
    std::unique_ptr<X11Connection> result(new X11Connection(connection, screens.data->root));
    result->internAtoms();
    result->queryRandr();
    return result;
}

X11Connection::X11Connection(xcb_connection_t *connection, xcb_window_t root)
    : m_connection(connection)
    , m_root(root)
{
}

X11Connection::~X11Connection()
{
    xcb_disconnect(m_connection);
}

void X11Connection::internAtoms()
{
    struct Name
    {
        const char *text;
        bool onlyIfExists;
        xcb_atom_t *target;
    };
    const Name names[] = {
        {"EDID", true, &m_atoms.edid},
    };
    xcb_intern_atom_cookie_t cookies[std::size(names)];
    for (size_t i = 0; i < std::size(names); ++i) {
        cookies[i] = xcb_intern_atom(m_connection, names[i].onlyIfExists, std::strlen(names[i].text), names[i].text);
    }
    for (size_t i = 0; i < std::size(names); ++i) {
        Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(m_connection, cookies[i], nullptr));
        *names[i].target = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }
}

void X11Connection::queryRandr()
{
    const xcb_query_extension_reply_t *extension = xcb_get_extension_data(m_connection, &xcb_randr_id);
    if (extension == nullptr || !extension->present) {
        qCInfo(lcX11) << "RandR is not available: the root window is the one monitor";
        return;
    }
    Reply<xcb_randr_query_version_reply_t> version(xcb_randr_query_version_reply(
        m_connection, xcb_randr_query_version(m_connection, kRandrMajor, kRandrMinor), nullptr));
    m_hasRandrMonitors = version
        && (version->major_version > kRandrMajor
            || (version->major_version == kRandrMajor && version->minor_version >= kRandrMinor));
    if (!m_hasRandrMonitors) {
        qCInfo(lcX11) << "RandR older than 1.5: the root window is the one monitor";
    }
}

} // namespace platform::x11
