// Polling the frame windows' geometry in batches until the windows have arrived.
#include "landingwatch.h"

#include "rawx.h"

#include <cstdlib>
#include <memory>

namespace {

template<typename T> using Owned = std::unique_ptr<T, decltype(&std::free)>;

template<typename T> Owned<T> owned(T *reply)
{
    return Owned<T>(reply, &std::free);
}

// The frame of a managed window: its ancestor that is a child of the root.
xcb_window_t topLevelAncestor(xcb_connection_t *connection, xcb_window_t root, xcb_window_t window)
{
    for (;;) {
        const auto tree = owned(xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr));
        if (!tree) {
            return XCB_NONE;
        }
        if (tree->parent == root) {
            return window;
        }
        window = tree->parent;
    }
}

QRect frameRect(const xcb_get_geometry_reply_t &g)
{
    return QRect(g.x, g.y, g.width + 2 * g.border_width, g.height + 2 * g.border_width);
}

} // namespace

LandingWatch::LandingWatch(RawX &raw, std::vector<uint32_t> windows)
    : m_connection(raw.connection())
    , m_lastSeen(windows.size())
{
    for (const uint32_t window : windows) {
        const xcb_window_t frame = topLevelAncestor(m_connection, raw.root(), window);
        const auto g = owned(xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, frame), nullptr));
        // RawX gives the visible frame where the frame window carries an even invisible border around it.
        const std::optional<QRect> visible = raw.outerFromFrame(window);
        m_frames.push_back(frame);
        m_invisiblePx.push_back(g && visible ? visible->left() - g->x : 0);
    }
}

std::optional<double> LandingWatch::waitUntil(
    const std::function<bool(const QRect &)> &arrived, const QElapsedTimer &clock)
{
    std::vector<size_t> pending(m_frames.size());
    for (size_t i = 0; i < pending.size(); ++i) {
        pending[i] = i;
    }
    std::vector<xcb_get_geometry_cookie_t> cookies;
    double lastArrivalMs = 0;
    while (!pending.empty()) {
        if (clock.elapsed() > kTimeoutMs) {
            return std::nullopt;
        }
        cookies.clear();
        for (const size_t i : pending) {
            cookies.push_back(xcb_get_geometry(m_connection, m_frames[i]));
        }
        std::vector<size_t> still;
        for (size_t k = 0; k < pending.size(); ++k) {
            const size_t i = pending[k];
            const auto g = owned(xcb_get_geometry_reply(m_connection, cookies[k], nullptr));
            const int b = m_invisiblePx[i];
            m_lastSeen[i] = g ? frameRect(*g).adjusted(b, b, -b, -b) : QRect();
            if (g && arrived(m_lastSeen[i])) {
                lastArrivalMs = clock.nsecsElapsed() / 1e6;
            } else {
                still.push_back(i);
            }
        }
        pending.swap(still);
    }
    return lastArrivalMs;
}
