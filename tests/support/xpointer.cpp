// XPointer: XTEST fake input on a connection of its own.
#include "xpointer.h"

#include <cstdlib>
#include <memory>
#include <xcb/xtest.h>

XPointer::XPointer()
    : m_connection(xcb_connect(nullptr, nullptr))
{
    if (xcb_connection_has_error(m_connection)) {
        return;
    }
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    std::unique_ptr<xcb_test_get_version_reply_t, decltype(&std::free)> version(
        xcb_test_get_version_reply(m_connection, xcb_test_get_version(m_connection, 2, 2), nullptr), &std::free);
    m_available = version != nullptr;
}

XPointer::~XPointer()
{
    xcb_disconnect(m_connection);
}

void XPointer::fake(uint8_t type, uint8_t detail, QPoint global)
{
    send(type, detail, global);
    sync();
}

void XPointer::send(uint8_t type, uint8_t detail, QPoint global)
{
    if (m_available) {
        xcb_test_fake_input(
            m_connection, type, detail, XCB_CURRENT_TIME, m_root, int16_t(global.x()), int16_t(global.y()), XCB_NONE);
    }
}

// A round trip: the input sent has been carried out when the reply arrives.
void XPointer::sync()
{
    if (m_available) {
        std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }
}

void XPointer::moveTo(QPoint global)
{
    fake(XCB_MOTION_NOTIFY, 0, global);
}

void XPointer::press(int button)
{
    fake(XCB_BUTTON_PRESS, uint8_t(button));
}

void XPointer::release(int button)
{
    fake(XCB_BUTTON_RELEASE, uint8_t(button));
}

void XPointer::click(QPoint global, int button)
{
    moveTo(global);
    press(button);
    release(button);
}

void XPointer::doubleClick(QPoint global, int button)
{
    send(XCB_MOTION_NOTIFY, 0, global);
    for (int k = 0; k < 2; ++k) {
        send(XCB_BUTTON_PRESS, uint8_t(button));
        send(XCB_BUTTON_RELEASE, uint8_t(button));
    }
    sync();
}

bool XPointer::grabbedElsewhere()
{
    if (!m_available) {
        return false;
    }
    std::unique_ptr<xcb_grab_pointer_reply_t, decltype(&std::free)> reply(
        xcb_grab_pointer_reply(m_connection,
            xcb_grab_pointer(m_connection, 0, m_root, 0, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE,
                XCB_CURRENT_TIME),
            nullptr),
        &std::free);
    if (reply && reply->status == XCB_GRAB_STATUS_SUCCESS) {
        xcb_ungrab_pointer(m_connection, XCB_CURRENT_TIME);
        xcb_flush(m_connection);
        return false;
    }
    return reply && reply->status == XCB_GRAB_STATUS_ALREADY_GRABBED;
}
