// Reading the replies of Framewright's GNOME Shell extension: JSON texts of the monitors, the window list and the
// result of a placement. Every field is checked for its type and range and every count is bounded; a reply that
// does not fit gives nothing.
#pragma once

#include "platform/windowsystem.h"

#include <QRect>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace platform::gnome {

// Budgets of a reply: its length in UTF-16 units, the monitors and windows it may list, and the coordinates it may
// hold (mutter's are 32-bit; no desktop comes near this).
constexpr qsizetype kMaxReplyChars = 4 * 1024 * 1024;
constexpr int kMaxMonitors = 64;
constexpr int kMaxWindows = 4096;
constexpr int kCoordinateLimitPx = 1 << 20;
// mutter's window ids are 64-bit; the extension sends them as JSON numbers, exact up to 2^53.
constexpr uint64_t kMaxWindowId = uint64_t(1) << 53;

// One window as the extension lists it.
struct ShellWindow
{
    uint64_t id = 0;
    QString title; // cut to kMaxTitleBytes of UTF-8
    QRect frame;   // mutter's frame rectangle: its own title bar included, client-side shadows excluded
    QRect restore; // for a window the extension maximized and that is still maximized: the rectangle it had before
    bool minimized = false;
    bool maximized = false;
    bool transient = false;
    bool shown = false; // false for a window created but not yet shown by mutter

    bool operator==(const ShellWindow &) const = default;
};

// The result of a placement: whether the window was there until the end, the rectangle it took before it was
// maximized (if asked), and whether it is maximized now.
struct PlaceResult
{
    bool found = false;
    QRect normal;
    bool maximized = false;

    bool operator==(const PlaceResult &) const = default;
};

// The monitors in the extension's order (not yet ordered for the program); never empty.
std::optional<std::vector<Monitor>> readMonitors(const QString &json);
// The windows, topmost first.
std::optional<std::vector<ShellWindow>> readWindows(const QString &json);
std::optional<PlaceResult> readPlaceResult(const QString &json);

} // namespace platform::gnome
