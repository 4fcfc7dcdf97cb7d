// The size requests of a placement, their probes, and the wait for the client's answer.
#include "swayplacement.h"

#include "swayipcconnection.h"

#include <QStringList>

#include <algorithm>
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

// Whether `shown` is the client's answer to a request for `asked`: not the probe still waiting, not a late answer
// to an earlier request (`stale`), and not the answer to the probe itself (a client that answered the request before
// sway took in the probe, or that got both at once behind a configuration still unanswered, answers the probe as
// well), which holds the probe's width or height.
bool answers(QSize shown, QSize asked, QSize probe, const std::vector<QSize> &stale)
{
    const bool probeWidth = probe.width() != asked.width() && shown.width() == probe.width();
    const bool probeHeight = probe.height() != asked.height() && shown.height() == probe.height();
    return !probeWidth && !probeHeight && std::find(stale.begin(), stale.end(), shown) == stale.end();
}

// Asks for `size` (after `before`, in the same message) with its probe behind it, and reads the window until it
// shows another size than the probe. What is not an answer (see answers()) is asked for again, as when no answer
// came in time, up to `attempts` times. The window then, or as it is once every attempt has run out. The probe is known
// in advance rather than read: a quick client answers before the first reading.
std::optional<SwayWindow> requestSize(const WindowAccess &access, const QStringList &before, QSize size,
    const QStringList &after, const std::vector<QSize> &stale, int attempts, std::chrono::milliseconds wait)
{
    const QSize probe = probeFor(size, access.layoutSize);
    std::optional<SwayWindow> window;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        const QStringList request = QStringList(before) << resizeCommand(size) << after;
        if (!access.run({request.join(QStringLiteral(", ")), resizeCommand(probe)})) {
            return std::nullopt;
        }
        const auto deadline = std::chrono::steady_clock::now() + wait;
        window = access.read();
        while (window && window->outer.size() == probe && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(kClientAnswerPoll);
            window = access.read();
        }
        if (!window) {
            return std::nullopt;
        }
        const QSize shown = window->outer.size();
        if (answers(shown, size, probe, stale)) {
            return window;
        }
        qCDebug(lcSway) << "no answer to a request for" << size << "within" << wait.count()
                        << "ms, or a late answer to an earlier one:" << shown;
    }
    return window;
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
    if (window.floating && target.size() == current) {
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
    if (!window.floating || target.size().boundedTo(current) == target.size()) {
        const QSize larger = grown(current.expandedTo(target.size()), kProbeGrowthPx).boundedTo(access.layoutSize);
        const std::optional<SwayWindow> prepared = requestSize(access, state, larger, {}, stale, 1, kClientAnswerWait);
        if (!prepared) {
            return std::nullopt;
        }
        stale.insert(stale.end(), {larger, probeFor(larger, access.layoutSize), prepared->outer.size()});
        state.clear();
    }
    return requestSize(access, state, target.size().boundedTo(access.layoutSize), {moveCommand(target.topLeft())},
        stale, kPlacementAttempts, kClientAnswerWait);
}

} // namespace platform::sway
