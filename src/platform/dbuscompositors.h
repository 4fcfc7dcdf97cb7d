// The backends of the Wayland compositors that are reached over D-Bus (KWin, GNOME Shell), and what is left for
// another compositor. Kept apart from sessionwindowsystem.cpp so that a program can be linked without QtDBus and
// libdbus (framewright_platform_session_without_dbus); such a program hands these sessions to one that has them.
#pragma once

#include "sessionwindowsystem.h"

namespace platform {

// On a Wayland session that is not sway's: KWin's or GNOME Shell's backend, else X11 through XWayland with a note.
SessionWindowSystem openDBusCompositor();

// The X11 backend on $DISPLAY, or the error saying why there is none.
SessionWindowSystem openX11();

} // namespace platform
