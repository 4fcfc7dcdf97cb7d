// Real pointer input for X11 tests through the XTEST extension: the server moves the pointer and presses and
// releases buttons as a user's hand would, so window managers and grabs see ordinary input.
#pragma once

#include <QPoint>

#include <xcb/xcb.h>

class XPointer
{
public:
    // Connects to $DISPLAY; check available() (the server may lack XTEST).
    XPointer();
    ~XPointer();
    XPointer(const XPointer &) = delete;
    XPointer &operator=(const XPointer &) = delete;

    bool available() const { return m_available; }
    // Each call returns once the server has carried the input out.
    void moveTo(QPoint global);
    void press(int button = 1);
    void release(int button = 1);
    void click(QPoint global, int button = 1);
    // Two clicks sent as one batch, so that the server carries them out back to back: a slow test process cannot
    // stretch them past the double-click interval.
    void doubleClick(QPoint global, int button = 1);
    // Whether another client holds the pointer grabbed (a window manager moving a window, an open popup menu).
    bool grabbedElsewhere();

private:
    void fake(uint8_t type, uint8_t detail, QPoint global = {});
    void send(uint8_t type, uint8_t detail, QPoint global = {});
    void sync();

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_NONE;
    bool m_available = false;
};
