// The commands of a placement and the wait for the client's answer.
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

} // namespace

QRect placeableRect(const QRect &requested)
{
    return QRect(withinLimit(requested.x(), -kCoordinateLimitPx), withinLimit(requested.y(), -kCoordinateLimitPx),
        withinLimit(requested.width(), 1), withinLimit(requested.height(), 1));
}

QString placementCommands(const SwayWindow &window, const QRect &target)
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
    commands << QStringLiteral("resize set width %1 px height %2 px").arg(target.width()).arg(target.height());
    commands << moveCommand(target.topLeft()) << QStringLiteral("focus");
    return commands.join(QStringLiteral(", "));
}

QString moveCommand(QPoint position)
{
    return QStringLiteral("move absolute position %1 px %2 px").arg(position.x()).arg(position.y());
}

QRect anchoredRect(const QRect &target, QSize size, Qt::Alignment anchor)
{
    const auto start = [](int targetStart, int targetSize, int size, bool end, bool centre) {
        const int64_t free = int64_t(targetSize) - size;
        return withinLimit(targetStart + (end ? free : centre ? free / 2 : 0), -kCoordinateLimitPx);
    };
    return QRect(start(target.x(), target.width(), size.width(), anchor & Qt::AlignRight, anchor & Qt::AlignHCenter),
        start(target.y(), target.height(), size.height(), anchor & Qt::AlignBottom, anchor & Qt::AlignVCenter),
        size.width(), size.height());
}

std::optional<SwayWindow> awaitClientAnswer(const std::function<std::optional<SwayWindow>()> &read)
{
    const auto deadline = std::chrono::steady_clock::now() + kClientAnswerWait;
    const std::optional<SwayWindow> asked = read();
    std::optional<SwayWindow> now = asked;
    while (now && now->outer == asked->outer && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(kClientAnswerPoll);
        now = read();
    }
    return now;
}

} // namespace platform::sway
