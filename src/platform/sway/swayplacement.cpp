// The size requests of a placement, their probes, and the wait for the client's answer.
#include "swayplacement.h"

#include "swayipcconnection.h"

#include <QStringList>

#include <algorithm>
#include <functional>
#include <thread>

namespace platform::sway {

namespace {

int withinLimit(int64_t value, int64_t low)
{
    return static_cast<int>(std::clamp<int64_t>(value, low, kCoordinateLimitPx));
}

QSize grown(QSize size, int px)
{
    return QSize(withinLimit(int64_t(size.width()) + px, 1), withinLimit(int64_t(size.height()) + px, 1));
}

// The size kProbeGrowthPx away from `size` in each direction: larger, or smaller where larger would pass the
// layout (sway would cut it down to the size asked for, and the probe could not be told from the answer).
QSize probeFor(QSize size, QSize layout)
{
    const auto away = [](int extent, int limit) {
        return extent + kProbeGrowthPx <= limit ? extent + kProbeGrowthPx : std::max(1, extent - kProbeGrowthPx);
    };
    return QSize(away(size.width(), layout.width()), away(size.height(), layout.height()));
}

QString resizeCommand(QSize size)
{
    return QStringLiteral("resize set width %1 px height %2 px").arg(size.width()).arg(size.height());
}

QStringList stateCommands(const SwayWindow &window)
{
    QStringList commands;
    if (window.scratchpad) {
        commands << QStringLiteral("scratchpad show");
    }
    if (window.fullscreen) {
        commands << QStringLiteral("fullscreen disable");
    }
    if (!window.floating) {
        commands << QStringLiteral("floating enable");
    }
    return commands;
}

// Whether `shown` is the client's answer to the probe itself, which holds the probe's width or height: the client
// answered the request before sway took in the probe, or the request never reached it (sway was still waiting for a
// client, and the probe replaced the request before it was sent).
bool answersProbe(QSize shown, QSize asked, QSize probe)
{
    return (probe.width() != asked.width() && shown.width() == probe.width())
        || (probe.height() != asked.height() && shown.height() == probe.height());
}

// The window after a size request, and whether its size is the client's answer.
struct Answer
{
    std::optional<SwayWindow> window;
    bool answered = false;
};

// Reads the window until `settled` tells that it shows what was waited for, or until the deadline; the window then
// (empty once it is gone).
std::optional<SwayWindow> readUntil(const WindowAccess &access, std::chrono::steady_clock::time_point deadline,
    const std::function<bool(QSize shown)> &settled)
{
    std::optional<SwayWindow> window = access.read();
    while (window && !settled(window->outer.size()) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(kClientAnswerPoll);
        window = access.read();
    }
    return window;
}

// Whether the client's answer to the probe is known without waiting for it: a client that keeps a size larger than
// the probe in both directions keeps it for the probe as well, and sway ignores an answer that repeats the size.
bool probeAnswerIsKnown(QSize answer, QSize probe)
{
    return answer.width() >= probe.width() && answer.height() >= probe.height();
}

// Asks for `size` (after `before`, in the same message) with its probe behind it, and reads the window until it
// shows another size than the probe or than a late answer to an earlier request (`stale`): the answer to the
// request follows such a late answer, and shows as a change from it. The probe is not asked for again then: the
// client's answer could come between a reading and that request, which would hide it.
// An answer to the probe (the request never reached the client: sway was still waiting for a client, and the probe
// replaced the request before it was sent), or no answer within `wait`, has the request and its probe made again,
// up to `attempts` times. An answer that came after sway stopped waiting for the client may be followed by the
// client's answer to the probe, which sway then sent on: that second answer is waited for, and the client is asked
// for its first answer once more. The window then, or as it is once every attempt has run out. The probe is known in
// advance rather than read: a quick client answers before the first reading.
Answer requestSize(const WindowAccess &access, const QStringList &before, QSize size, const QStringList &after,
    const std::vector<QSize> &stale, int attempts, std::chrono::milliseconds wait)
{
    const QSize probe = probeFor(size, access.layoutSize);
    const auto isStale = [&](QSize shown) { return std::find(stale.begin(), stale.end(), shown) != stale.end(); };
    std::optional<SwayWindow> window;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        const QStringList request = QStringList(before) << resizeCommand(size) << after;
        const auto sent = std::chrono::steady_clock::now();
        if (!access.run({request.join(QStringLiteral(", ")), resizeCommand(probe)})) {
            return {};
        }
        window = readUntil(access, sent + wait, [&](QSize shown) { return shown != probe && !isStale(shown); });
        if (!window) {
            return {};
        }
        const QSize shown = window->outer.size();
        if (shown == probe || isStale(shown) || answersProbe(shown, size, probe)) {
            qCDebug(lcSway) << "no answer to a request for" << size << "within" << wait.count()
                            << "ms, or an answer to its probe:" << shown;
            continue;
        }
        if (std::chrono::steady_clock::now() - sent < kSwayClientWait || probeAnswerIsKnown(shown, probe)) {
            return {window, true};
        }
        const auto answered = std::chrono::steady_clock::now();
        window = readUntil(access, answered + wait, [&](QSize now) { return now != shown; });
        if (!window || window->outer.size() == shown) {
            return {window, window.has_value()};
        }
        // The client took the probe after its answer: it is asked for that answer alone, which it takes again, and
        // which sway shows at once and follows with nothing.
        qCDebug(lcSway) << "a late answer" << shown << "to a request for" << size
                        << "was followed by the answer to its probe:" << window->outer.size();
        if (!access.run({resizeCommand(shown)})) {
            return {};
        }
        window = access.read();
        return {window, window.has_value()};
    }
    return {window, false};
}

} // namespace

QRect placeableRect(const QRect &requested)
{
    return QRect(withinLimit(requested.x(), -kCoordinateLimitPx), withinLimit(requested.y(), -kCoordinateLimitPx),
        withinLimit(requested.width(), 1), withinLimit(requested.height(), 1));
}

QString moveCommand(QPoint position)
{
    return QStringLiteral("move absolute position %1 px %2 px").arg(position.x()).arg(position.y());
}

std::optional<SwayWindow> resizeAndMove(const SwayWindow &window, const QRect &target, const WindowAccess &access)
{
    QStringList state = stateCommands(window);
    const QSize current = window.outer.size();
    const QSize asked = target.size().expandedTo(kSwayFloatingMinimum).boundedTo(access.layoutSize);
    if (window.floating && asked == current) {
        return access.run({(state << moveCommand(target.topLeft())).join(QStringLiteral(", "))}) ? access.read()
                                                                                                 : std::nullopt;
    }
    // Floating a window also sends its client a configuration of its own, which it may answer late with the size it
    // had: a window that does not float yet is made larger first as well, and its size then counts as a late answer.
    // Here the client may take the larger size or its probe (either is larger than any answer to the target), and
    // one attempt is enough: the target's request tells late answers apart.
    std::vector<QSize> stale;
    if (!window.floating) {
        stale.push_back(current);
    }
    if (!window.floating || asked.boundedTo(current) == asked) {
        const QSize larger = grown(current.expandedTo(asked), kProbeGrowthPx).boundedTo(access.layoutSize);
        const Answer prepared = requestSize(access, state, larger, {}, stale, 1, kClientAnswerWait);
        if (!prepared.window) {
            return std::nullopt;
        }
        stale.insert(stale.end(), {larger, probeFor(larger, access.layoutSize), prepared.window->outer.size()});
        state.clear();
    }
    const Answer placed = requestSize(
        access, state, asked, {moveCommand(target.topLeft())}, stale, kPlacementAttempts, kClientAnswerWait);
    if (placed.window && !placed.answered) {
        qCDebug(lcSway) << "the client did not answer a request for" << asked;
        return std::nullopt;
    }
    return placed.window;
}

} // namespace platform::sway
