// What Framewright's KWin scripts answer, read and checked: every answer is one JSON text, {"ok": value} or
// {"error": message}, and every value is checked for its type, its range and its size before it is used. An answer
// that fails any check is rejected whole.
#pragma once

#include "platform/windowsystem.h"

#include <QByteArrayView>
#include <QJsonValue>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>
#include <vector>

namespace platform::kwin {

// Budgets for what a script may send: the whole JSON text, the lists in it, window ids, and coordinates (KWin's
// are 32-bit; a desktop is far smaller than this, so anything larger is a broken answer).
constexpr qsizetype kMaxAnswerBytes = 8 * 1024 * 1024;
constexpr qsizetype kMaxWindows = 4096;
constexpr qsizetype kMaxMonitors = 64;
constexpr qsizetype kMaxWindowIdChars = 64;
constexpr qsizetype kMaxErrorChars = 1024;
constexpr int kMaxCoordinate = 1 << 24;

// One answer: its value, or why there is none (a script error, or an answer that is no answer).
struct ScriptAnswer
{
    std::optional<QJsonValue> value;
    QString error;
};

// What the scripts report of one window (describe() in common.js).
struct WindowState
{
    QString id;       // KWin's internalId, a UUID in braces
    QString title;    // cut to kMaxTitleBytes of UTF-8
    int stacking = 0; // larger is higher
    bool visible = false;
    bool owned = false;
    bool minimized = false;
    bool maximized = false;
    QRect frame;            // the outer rectangle: KWin's decoration included, client-side shadows excluded
    QRect surface;          // the client's buffer: without KWin's decoration, with client-side shadows
    bool decorated = false; // KWin draws a decoration around it
    QSize minSize;          // the client's own limits, without KWin's decoration
    QSize maxSize;

    bool operator==(const WindowState &) const = default;
};

// One window read: valid and `window` empty when the window is gone.
struct WindowAnswer
{
    bool valid = false;
    std::optional<WindowState> window;
};

// The answer's JSON text read as {"ok": value} or {"error": message}.
ScriptAnswer readAnswer(QByteArrayView json);

std::optional<std::vector<Monitor>> monitorsFrom(const QJsonValue &value);
// Every window of a list; empty when any one of them is broken.
std::optional<std::vector<WindowState>> windowsFrom(const QJsonValue &value);
WindowAnswer windowFrom(const QJsonValue &value);
// An active window's id: valid and empty `id` when there is none.
struct IdAnswer
{
    bool valid = false;
    QString id;
};
IdAnswer windowIdFrom(const QJsonValue &value);

// `text` cut to at most `maxBytes` bytes of UTF-8 on a character boundary; an unpaired surrogate becomes U+FFFD.
QString cutToUtf8Bytes(const QString &text, int maxBytes);

} // namespace platform::kwin
