// Opens the window-system backend of the desktop session the program runs in: the one place that knows which
// backends exist and how a session is recognised. The window and the command line both start here.
#pragma once

#include "platform/windowsystem.h"

#include <QString>

#include <memory>

namespace platform {

struct SessionWindowSystem
{
    std::unique_ptr<WindowSystem> windowSystem; // empty when no backend could be opened
    QString error;                              // without a backend: one line saying why, without the program's name
    QString note; // with a backend: a line the user should see all the same (what it cannot reach), or empty
};

// Chooses and opens the backend for this session: on a Wayland session (WAYLAND_DISPLAY set) the compositor's own
// backend, else X11. Call it once a QCoreApplication exists: backends that talk D-Bus need its event loop.
SessionWindowSystem openSessionWindowSystem();

// Whether this session's backend needs a QCoreApplication (a Wayland session's); the X11 backend works without one.
bool sessionNeedsApplication();
// Whether this session's backend talks D-Bus (a Wayland session other than sway's: KWin, GNOME Shell, or the search
// for them); a program linked with framewright_platform_session_without_dbus cannot reach its windows.
bool sessionNeedsDBus();

} // namespace platform
