// The size requests of a placement, their probes, and the wait for the client's answer.
#include "swayplacement.h"

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

// Asks for `size` (after `before`, in the same message) with its probe behind it, and reads the window until it
// shows another size than the probe: the client's answer. The window then, or as it is once every attempt has run
// out. The probe is known in advance rather than read: a quick client answers before the first reading.
std::optional<SwayWindow> requestSize(
    const WindowAccess &access, const QStringList &before, QSize size, const QStringList &after)
{
    const QSize probe = grown(size, kProbeGrowthPx).boundedTo(access.layoutSize.expandedTo(size));
    std::optional<SwayWindow> window;
    for (int attempt = 0; attempt < kPlacementAttempts; ++attempt) {
        const QStringList request = QStringList(before) << resizeCommand(size) << after;
        if (!access.run({request.join(QStringLiteral(", ")), resizeCommand(probe)})) {
            return std::nullopt;
        }
        const auto deadline = std::chrono::steady_clock::now() + kClientAnswerWait;
        window = access.read();
        while (window && window->outer.size() == probe && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(kClientAnswerPoll);
            window = access.read();
        }
        if (!window || window->outer.size() != probe) {
            return window;
        }
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
    if (target.size().boundedTo(current) == target.size()) {
        const QSize larger = grown(current.expandedTo(target.size()), kProbeGrowthPx);
        if (!requestSize(access, state, larger, {})) {
            return std::nullopt;
        }
        state.clear();
    }
    return requestSize(access, state, target.size(), {moveCommand(target.topLeft())});
}

} // namespace platform::sway
