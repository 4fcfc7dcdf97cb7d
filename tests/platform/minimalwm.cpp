// The minimal window manager's event loop: MapRequest and ConfigureRequest, nothing else.
#include "minimalwm.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include <poll.h>
#include <unistd.h>

namespace {

template<typename T> using Owned = std::unique_ptr<T, decltype(&std::free)>;

template<typename T> Owned<T> owned(T *pointer)
{
    return Owned<T>(pointer, &std::free);
}

} // namespace

MinimalWindowManager::MinimalWindowManager(const char *display, FirstMapRequest firstMapRequest)
    : m_firstMapRequest(firstMapRequest)
{
    m_connection = xcb_connect(display, nullptr);
    if (xcb_connection_has_error(m_connection) || pipe(m_stopPipe) != 0) {
        return;
    }
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    const auto atom
        = owned(xcb_intern_atom_reply(m_connection, xcb_intern_atom(m_connection, 0, 8, "WM_STATE"), nullptr));
    m_wmState = atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    const auto error = owned(xcb_request_check(
        m_connection, xcb_change_window_attributes_checked(m_connection, m_root, XCB_CW_EVENT_MASK, &mask)));
    if (!error) {
        m_thread = std::thread([this] { run(); });
    }
}

MinimalWindowManager::~MinimalWindowManager()
{
    if (m_thread.joinable()) {
        const char stop = 0;
        [[maybe_unused]] const ssize_t written = write(m_stopPipe[1], &stop, 1);
        m_thread.join();
    }
    for (const int fd : m_stopPipe) {
        if (fd >= 0) {
            close(fd);
        }
    }
    xcb_disconnect(m_connection);
}

void MinimalWindowManager::run()
{
    for (;;) {
        while (const auto event = owned(xcb_poll_for_event(m_connection))) {
            handle(*event);
        }
        xcb_flush(m_connection);
        pollfd fds[] = {{xcb_get_file_descriptor(m_connection), POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 || fds[1].revents != 0 || xcb_connection_has_error(m_connection)) {
            return;
        }
    }
}

void MinimalWindowManager::handle(const xcb_generic_event_t &event)
{
    const uint8_t type = event.response_type & 0x7F;
    if (type == XCB_MAP_REQUEST) {
        const auto &request = reinterpret_cast<const xcb_map_request_event_t &>(event);
        ++m_mapRequests;
        const bool first = m_mapRequested.insert(request.window).second;
        if (first && m_firstMapRequest == FirstMapRequest::Lost) {
            return;
        }
        const uint32_t state[] = {1, XCB_NONE}; // NormalState, no icon window
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, request.window, m_wmState, m_wmState, 32, 2, state);
        xcb_map_window(m_connection, request.window);
    } else if (type == XCB_CONFIGURE_REQUEST) {
        const auto &request = reinterpret_cast<const xcb_configure_request_event_t &>(event);
        // The value list holds the fields the mask names, in the order of their bits.
        uint32_t values[7];
        int count = 0;
        const int32_t fields[] = {request.x, request.y, request.width, request.height, request.border_width,
            int32_t(request.sibling), request.stack_mode};
        for (int bit = 0; bit < 7; ++bit) {
            if (request.value_mask & (1u << bit)) {
                values[count++] = uint32_t(fields[bit]);
            }
        }
        xcb_configure_window(m_connection, request.window, request.value_mask, values);
        ++m_configureRequests;
    }
}
