// Watching windows land, as plain X requests see them and independently of the code under test: the outer
// rectangle is the frame window's geometry, less the invisible border some window managers keep around the
// visible frame (marco). One poll is one batch of GetGeometry requests for all windows, one round trip.
#pragma once

#include <QElapsedTimer>
#include <QRect>

#include <xcb/xcb.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class RawX;

class LandingWatch
{
public:
    // Longest a wait polls.
    static constexpr int kTimeoutMs = 5000;

    // Finds each window's frame and the width of its invisible border; the windows must be managed, shown normal
    // and at rest. A window manager that reframes a window later (none of the harness's does) invalidates it.
    LandingWatch(RawX &raw, std::vector<uint32_t> windows);

    // Polls, without a pause between round trips, until every window's outer rectangle satisfies `arrived`. The
    // elapsed time of `clock` at the poll that saw the last window arrive, in ms; empty after kTimeoutMs (then
    // lastSeen() tells where the windows were).
    std::optional<double> waitUntil(const std::function<bool(const QRect &)> &arrived, const QElapsedTimer &clock);
    std::optional<double> waitLanded(const QRect &expected, const QElapsedTimer &clock)
    {
        return waitUntil([&expected](const QRect &outer) { return outer == expected; }, clock);
    }

    // The outer rectangles the last poll saw, in the order of the windows; empty for a window that is gone.
    const std::vector<QRect> &lastSeen() const { return m_lastSeen; }

private:
    xcb_connection_t *m_connection;
    std::vector<xcb_window_t> m_frames;
    std::vector<int> m_invisiblePx;
    std::vector<QRect> m_lastSeen;
};
