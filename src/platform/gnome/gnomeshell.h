// The program's side of Framewright's GNOME Shell extension: its D-Bus names and calls. Every call is bounded in
// time, and every reply is checked for its message type and signature before it is read.
#pragma once

#include "gnomereplies.h"

#include <QDBusConnection>
#include <QString>
#include <QVariantList>

#include <cstdint>
#include <optional>
#include <vector>

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
// Placements asked for together are sent in groups of at most this many, each group answered before the next is
// sent, which keeps a call for hundreds of windows within the bus's limit of replies a connection may await.
constexpr int kPlacementsInFlight = 64;

// The extension's uuid, the name of its folder and what `gnome-extensions enable` takes.
QString extensionUuid();

// The backend's own connection to the session bus, and its end.
QDBusConnection openShellBus();
void closeShellBus();

// One window's placement as the extension's Place takes it.
struct PlaceRequest
{
    uint64_t id = 0;
    QRect rect;
    bool maximize = false;
};

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
    // Places the windows (see the extension's Place), all at once: every request is sent before any answer is
    // awaited, and each answer is awaited at most kPlaceTimeoutMs from its sending. The results in the order of the
    // requests; empty for a call that failed or a reply that is not one.
    std::vector<std::optional<PlaceResult>> place(const std::vector<PlaceRequest> &requests);
    // The focused window's id, 0 for none; empty when the call failed.
    std::optional<uint64_t> activeWindow();

private:
    // The reply's one string argument; empty for an error, a timeout or another signature.
    std::optional<QString> callForText(const QString &method, const QVariantList &arguments, int timeoutMs);
    std::vector<std::optional<PlaceResult>> placeGroup(const PlaceRequest *first, const PlaceRequest *last);

    QDBusConnection m_bus;
};

} // namespace platform::gnome
