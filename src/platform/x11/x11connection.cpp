// Opening the connection, interning atoms, and probing the RandR version.
#include "x11connection.h"

#include "x11xlibtext.h"

#include <xcb/randr.h>

#include <cstdlib>
#include <cstring>
#include <utility>

namespace platform::x11 {

Q_LOGGING_CATEGORY(lcX11, "framewright.x11")

namespace {

// RandR 1.5 introduced monitors (GetMonitors), which is what the monitor list is built from.
constexpr uint32_t kRandrMajor = 1;
constexpr uint32_t kRandrMinor = 5;

} // namespace

std::optional<std::string> X11Connection::unreachableReason(const char *displayName)
{
    const char *name = displayName != nullptr ? displayName : std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') {
        return std::string("DISPLAY is not set");
    }
    xcb_connection_t *connection = xcb_connect(name, nullptr);
    const bool failed = xcb_connection_has_error(connection) != 0;
    xcb_disconnect(connection);
    if (failed) {
        return "cannot open display \"" + std::string(name) + '"';
    }
    return std::nullopt;
}

std::unique_ptr<X11Connection> X11Connection::open(const char *displayName)
{
    const char *name = displayName != nullptr ? displayName : std::getenv("DISPLAY");
    int screenNumber = 0;
    xcb_connection_t *connection = xcb_connect(name, &screenNumber);
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
    std::unique_ptr<X11Connection> result(
        new X11Connection(connection, screens.data->root, name != nullptr ? name : ""));
    result->internAtomsAndAskRandr();
    return result;
}

X11Connection::X11Connection(xcb_connection_t *connection, xcb_window_t root, std::string displayName)
    : m_connection(connection)
    , m_root(root)
    , m_displayName(std::move(displayName))
{ }

X11Connection::~X11Connection()
{
    if (m_xlibText && !broken()) {
        m_xlibText->close();
    }
    xcb_flush(m_connection);
    xcb_disconnect(m_connection);
}

std::optional<std::string> X11Connection::compoundTextToUtf8(std::span<const uint8_t> bytes) const
{
    if (!m_xlibText) {
        m_xlibText = std::make_unique<XlibText>(m_displayName);
    }
    return m_xlibText->toUtf8(bytes, m_atoms.compoundText);
}

void X11Connection::internAtomsAndAskRandr()
{
    struct Name
    {
        const char *text;
        bool onlyIfExists;
        xcb_atom_t *target;
    };
    Atoms &a = m_atoms;
    const Name names[] = {
        {"EDID", true, &a.edid},
        {"UTF8_STRING", false, &a.utf8String},
        {"COMPOUND_TEXT", false, &a.compoundText},
        {"C_STRING", false, &a.cString},
        {"WM_STATE", false, &a.wmState},
        {"_NET_SUPPORTED", false, &a.netSupported},
        {"_NET_SUPPORTING_WM_CHECK", false, &a.netSupportingWmCheck},
        {"_NET_CLIENT_LIST", false, &a.netClientList},
        {"_NET_CLIENT_LIST_STACKING", false, &a.netClientListStacking},
        {"_NET_CURRENT_DESKTOP", false, &a.netCurrentDesktop},
        {"_NET_ACTIVE_WINDOW", false, &a.netActiveWindow},
        {"_NET_MOVERESIZE_WINDOW", false, &a.netMoveResizeWindow},
        {"_NET_REQUEST_FRAME_EXTENTS", false, &a.netRequestFrameExtents},
        {"_NET_WM_NAME", false, &a.netWmName},
        {"_NET_WM_DESKTOP", false, &a.netWmDesktop},
        {"_NET_FRAME_EXTENTS", false, &a.netFrameExtents},
        {"_GTK_FRAME_EXTENTS", false, &a.gtkFrameExtents},
        {"_MOTIF_WM_HINTS", false, &a.motifWmHints},
        {"_NET_WM_STATE", false, &a.netWmState},
        {"_NET_WM_STATE_HIDDEN", false, &a.netWmStateHidden},
        {"_NET_WM_STATE_MAXIMIZED_VERT", false, &a.netWmStateMaximizedVert},
        {"_NET_WM_STATE_MAXIMIZED_HORZ", false, &a.netWmStateMaximizedHorz},
        {"_NET_WM_STATE_FULLSCREEN", false, &a.netWmStateFullscreen},
        {"_NET_WM_WINDOW_TYPE", false, &a.netWmWindowType},
        {"_NET_WM_WINDOW_TYPE_DESKTOP", false, &a.netWmWindowTypeDesktop},
        {"_NET_WM_WINDOW_TYPE_DOCK", false, &a.netWmWindowTypeDock},
        {"_NET_WM_WINDOW_TYPE_TOOLBAR", false, &a.netWmWindowTypeToolbar},
        {"_NET_WM_WINDOW_TYPE_MENU", false, &a.netWmWindowTypeMenu},
        {"_NET_WM_WINDOW_TYPE_UTILITY", false, &a.netWmWindowTypeUtility},
        {"_NET_WM_WINDOW_TYPE_SPLASH", false, &a.netWmWindowTypeSplash},
        {"_NET_WM_WINDOW_TYPE_DIALOG", false, &a.netWmWindowTypeDialog},
        {"_NET_WM_WINDOW_TYPE_NORMAL", false, &a.netWmWindowTypeNormal},
        {"_FRAMEWRIGHT_RESTORE_RECT", false, &a.framewrightRestoreRect},
        {"_FRAMEWRIGHT_TIMESTAMP", false, &a.framewrightTimestamp},
    };
    xcb_prefetch_extension_data(m_connection, &xcb_randr_id);
    xcb_intern_atom_cookie_t cookies[std::size(names)];
    for (size_t i = 0; i < std::size(names); ++i) {
        cookies[i] = xcb_intern_atom(m_connection, names[i].onlyIfExists, std::strlen(names[i].text), names[i].text);
    }
    for (size_t i = 0; i < std::size(names); ++i) {
        Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(m_connection, cookies[i], nullptr));
        *names[i].target = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }
    // The extension's reply came before the atoms' ones: asking for the version costs no wait here.
    const xcb_query_extension_reply_t *extension = xcb_get_extension_data(m_connection, &xcb_randr_id);
    if (extension == nullptr || !extension->present) {
        qCInfo(lcX11) << "RandR is not available: the root window is the one monitor";
        return;
    }
    m_randrVersion = xcb_randr_query_version(m_connection, kRandrMajor, kRandrMinor);
}

bool X11Connection::hasRandrMonitors()
{
    if (!m_randrVersion) {
        return m_hasRandrMonitors;
    }
    Reply<xcb_randr_query_version_reply_t> version(
        xcb_randr_query_version_reply(m_connection, *std::exchange(m_randrVersion, std::nullopt), nullptr));
    m_hasRandrMonitors = version
        && (version->major_version > kRandrMajor
            || (version->major_version == kRandrMajor && version->minor_version >= kRandrMinor));
    if (!m_hasRandrMonitors) {
        qCInfo(lcX11) << "RandR older than 1.5: the root window is the one monitor";
    }
    return m_hasRandrMonitors;
}

} // namespace platform::x11
