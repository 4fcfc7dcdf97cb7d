// The program's side of Framewright's GNOME Shell extension: its D-Bus names and calls. Every call is bounded in
// time, and every reply is checked for its message type and signature before it is read.
#pragma once

#include "gnomereplies.h"

#include <QDBusConnection>
#include <QString>
#include <QVariantList>

#include <cstdint>
#include <optional>

namespace platform::gnome {

// The extension's object lives on GNOME Shell's own connection.
inline const QString kShellService = QStringLiteral("org.gnome.Shell");
inline const QString kObjectPath = QStringLiteral("/org/framewright/Shell");
inline const QString kInterface = QStringLiteral("org.framewright.Shell1");
inline const QString kWindowsChangedSignal = QStringLiteral("WindowsChanged");

// Listing answers at once, unless the shell is busy (at login it may be for seconds); a placement waits in the
// shell for the window to be shown, to take its rectangle and to be maximized, each wait bounded there by 3 s.
constexpr int kListTimeoutMs = 5000;
constexpr int kPlaceTimeoutMs = 12000;

// The extension's uuid, the name of its folder and what `gnome-extensions enable` takes.
QString extensionUuid();

// The backend's own connection to the session bus, and its end.
QDBusConnection openShellBus();
void closeShellBus();

enum class ShellPresence {
    Extension,        // our interface answers
    WithoutExtension, // GNOME Shell answers but has no such object: the extension is not enabled (or not loaded yet)
    NoAnswer,         // GNOME Shell does not answer in time
};

class ShellClient
{
public:
    explicit ShellClient(QDBusConnection bus);

    QDBusConnection bus() const { return m_bus; }
    ShellPresence presence();

    std::optional<std::vector<Monitor>> monitors();
    std::optional<std::vector<ShellWindow>> windows();
    // Places the window (see the extension's Place); empty when the call failed or the reply is not one.
    std::optional<PlaceResult> place(uint64_t id, const QRect &rect, bool maximize);
    // The focused window's id, 0 for none; empty when the call failed.
    std::optional<uint64_t> activeWindow();

private:
    // The reply's one string argument; empty for an error, a timeout or another signature.
    std::optional<QString> callForText(const QString &method, const QVariantList &arguments, int timeoutMs);

    QDBusConnection m_bus;
};

} // namespace platform::gnome
