// Readers of sway's JSON replies and events. Every reader takes the payload as untrusted bytes: it must be valid
// JSON of the expected shape, numbers must be integers within the coordinate budget, and the tree walk is bounded
// in depth and in nodes. A reply that fails any check gives nothing, never a partial answer.
#pragma once

#include "platform/windowsystem.h"

#include <QByteArray>
#include <QRect>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace platform::sway {

// Budgets of the tree walk: sway nests root, output, workspace and split containers; real trees are a dozen levels
// deep at most. A tree past either budget is refused.
constexpr int kMaxTreeDepth = 64;
constexpr int kMaxTreeNodes = 20000;
// Coordinates and sizes beyond this are refused (logical pixels; far beyond any output layout).
constexpr int kCoordinateLimitPx = 1 << 24;

// get_outputs: the active outputs as monitors, in sway's order (not yet ordered, none marked primary).
std::optional<std::vector<Monitor>> readOutputs(const QByteArray &json);

// One window (a view) of get_tree.
struct SwayWindow
{
    int64_t conId = 0;
    QString title;           // cut to kMaxTitleBytes of UTF-8; empty without a title
    QRect outer;             // the container: sway's title bar and borders included
    bool floating = false;   // in a workspace's floating list (or nested in a floating container)
    bool scratchpad = false; // hidden in the scratchpad
    bool fullscreen = false;
    bool focused = false;
    bool transient = false; // an XWayland window transient for another (sway reports no parent for Wayland windows)
};

// get_tree: every window, topmost first as far as sway's tree tells (see the reader).
std::optional<std::vector<SwayWindow>> readTree(const QByteArray &json);

// run_command: true when every command of the list succeeded; `error` gets the first failure's message.
std::optional<bool> readCommandReply(const QByteArray &json, QString *error = nullptr);

// subscribe: whether sway accepted the subscription.
std::optional<bool> readSubscribeReply(const QByteArray &json);

// A window event: its "change" ("new", "close", "title", "move", "focus", ...).
std::optional<QString> readWindowEventChange(const QByteArray &json);

// The title as the window list gives it: up to the first NUL, cut to kMaxTitleBytes of UTF-8 on a character
// boundary.
QString titleWithinLimit(const QString &title);

} // namespace platform::sway
