// Chooses the backend from the session's environment: WAYLAND_DISPLAY for a Wayland session, then SWAYSOCK for
// sway, and for other compositors those reached over D-Bus (dbuscompositors.h); X11 otherwise.
#include "sessionwindowsystem.h"

#include "dbuscompositors.h"

#include "platform/sway/swaywindowsystem.h"
#include "platform/x11/x11windowsystem.h"

namespace platform {

SessionWindowSystem openX11()
{
    SessionWindowSystem opened;
    opened.windowSystem = x11::X11WindowSystem::open();
    if (!opened.windowSystem) {
        const QByteArray display = qgetenv("DISPLAY");
        opened.error = display.isEmpty()
            ? QStringLiteral("no X display (DISPLAY is not set)")
            : QStringLiteral("cannot connect to the X display %1").arg(QString::fromLocal8Bit(display));
    }
    return opened;
}

namespace {

SessionWindowSystem openSway(const QByteArray &socketPath)
{
    SessionWindowSystem opened;
    opened.windowSystem = sway::SwayWindowSystem::open(socketPath);
    if (!opened.windowSystem) {
        opened.error = QStringLiteral("cannot connect to sway's IPC socket %1 (SWAYSOCK)")
                           .arg(QString::fromLocal8Bit(socketPath));
    }
    return opened;
}

} // namespace

bool sessionNeedsApplication()
{
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

bool sessionNeedsDBus()
{
    return sessionNeedsApplication() && qEnvironmentVariableIsEmpty("SWAYSOCK");
}

SessionWindowSystem openSessionWindowSystem()
{
    if (!sessionNeedsApplication()) {
        return openX11();
    }
    if (!sessionNeedsDBus()) {
        return openSway(qgetenv("SWAYSOCK"));
    }
    return openDBusCompositor();
}

} // namespace platform
