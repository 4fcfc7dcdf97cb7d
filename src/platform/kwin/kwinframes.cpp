// Frames on KWin: the client's limits are its own (xdg_toplevel min/max size); KWin's server-side decoration adds
// the title bar and borders around them. A client that draws its own decoration has none from KWin, and its
// surface carries its shadows, so there the surface says nothing of the frame.
#include "kwinframes.h"

#include "platform/anchoredrect.h"

#include <algorithm>

namespace platform::kwin {

QRect expectedFrame(const WindowState &window, const QRect &wanted, Qt::Alignment anchor)
{
    const QSize decoration
        = window.decorated ? (window.frame.size() - window.surface.size()).expandedTo(QSize(0, 0)) : QSize(0, 0);
    const auto limited = [](int wantedPx, int minPx, int maxPx, int decorationPx) {
        const int64_t lower = std::max<int64_t>(1, int64_t(minPx) + decorationPx);
        const int64_t upper = std::max<int64_t>(lower, int64_t(maxPx) + decorationPx);
        return static_cast<int>(std::clamp<int64_t>(wantedPx, lower, std::min<int64_t>(upper, kMaxCoordinate)));
    };
    const QSize size(limited(wanted.width(), window.minSize.width(), window.maxSize.width(), decoration.width()),
        limited(wanted.height(), window.minSize.height(), window.maxSize.height(), decoration.height()));
    return anchoredRect(wanted, size, anchor, kMaxCoordinate);
}

bool hasLanded(const WindowState &window, const QRect &frame, bool maximize)
{
    if (maximize) {
        return window.maximized && !window.minimized;
    }
    return !window.maximized && !window.minimized && window.frame == frame;
}

} // namespace platform::kwin
