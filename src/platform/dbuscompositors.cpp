// KWin and GNOME Shell, found by the names they own on the session bus; X11 through XWayland for another compositor.
#include "dbuscompositors.h"

#include "platform/gnome/gnomewindowsystem.h"
#include "platform/kwin/kwinwindowsystem.h"

#include <QDBusMessage>

namespace platform {

namespace {

const QString kSupportedCompositors = QStringLiteral("sway, KWin (Plasma) and GNOME Shell");

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

SessionWindowSystem openDBusCompositor()
{
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
