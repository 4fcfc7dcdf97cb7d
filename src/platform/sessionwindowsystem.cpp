// Chooses the backend from the session's environment: WAYLAND_DISPLAY for a Wayland session, then SWAYSOCK for
// sway and the names KWin and GNOME Shell own on the session bus; X11 otherwise.
#include "sessionwindowsystem.h"

#include "platform/gnome/gnomewindowsystem.h"
#include "platform/kwin/kwinwindowsystem.h"
#include "platform/sway/swaywindowsystem.h"
#include "platform/x11/x11windowsystem.h"

#include <QDBusMessage>

namespace platform {

namespace {

const QString kSupportedCompositors = QStringLiteral("sway, KWin (Plasma) and GNOME Shell");

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

// A Wayland compositor without a backend: XWayland's windows are still reachable through X11 when it runs.
SessionWindowSystem openUnknownCompositor()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        SessionWindowSystem opened;
        opened.error = QStringLiteral("this Wayland compositor is not supported (supported: %1), and without "
                                      "XWayland (DISPLAY is not set) no window can be reached")
                           .arg(kSupportedCompositors);
        return opened;
    }
    SessionWindowSystem opened = openX11();
    if (opened.windowSystem) {
        opened.note = QStringLiteral("this Wayland compositor is not supported (supported: %1); only windows "
                                     "that run through XWayland are reached")
                          .arg(kSupportedCompositors);
    }
    return opened;
}

SessionWindowSystem openGnome()
{
    auto opened = gnome::GnomeWindowSystem::open();
    SessionWindowSystem session;
    session.windowSystem = std::move(opened.windowSystem);
    session.error = opened.error;
    return session;
}

} // namespace

bool sessionNeedsApplication()
{
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

SessionWindowSystem openSessionWindowSystem()
{
    if (!sessionNeedsApplication()) {
        return openX11();
    }
    if (const QByteArray swaySocket = qgetenv("SWAYSOCK"); !swaySocket.isEmpty()) {
        return openSway(swaySocket);
    }
    // QtDBus reads its connections on a thread that ends only when its global objects are destroyed at exit, and
    // the registry of the types it reads messages into is a global object too, destroyed in the reverse order of
    // creation. Made before any connection, the registry outlives the thread; made after (by QtDBus itself), a
    // message still dispatched at exit (the bus's NameAcquired) finds its types gone, and Qt 6.4 prints "Trying to
    // construct an instance of an invalid type" on standard error.
    qRegisterMetaType<QDBusMessage>();
    if (std::unique_ptr<WindowSystem> kwin = kwin::KWinWindowSystem::open()) {
        return SessionWindowSystem {std::move(kwin), QString(), QString()};
    }
    if (gnome::GnomeWindowSystem::shellRunning()) {
        return openGnome();
    }
    return openUnknownCompositor();
}

} // namespace platform
