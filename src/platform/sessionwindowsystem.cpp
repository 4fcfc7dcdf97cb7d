// Chooses the backend from the session's environment.
#include "sessionwindowsystem.h"

#include "platform/x11/x11windowsystem.h"

namespace platform {

namespace {

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

} // namespace

SessionWindowSystem openSessionWindowSystem()
{
    return openX11();
}

} // namespace platform
