// Ordering of the monitor list: primary first, then by position.
#include "monitororder.h"

#include <algorithm>

namespace platform {

void orderMonitors(std::vector<Monitor> &monitors)
{
    const auto byPosition = [](const Monitor &a, const Monitor &b) {
        return std::pair(a.rect.x(), a.rect.y()) < std::pair(b.rect.x(), b.rect.y());
    };
    std::stable_sort(monitors.begin(), monitors.end(), byPosition);
    if (monitors.empty()) {
        return;
    }

    auto primary = std::find_if(monitors.begin(), monitors.end(), [](const Monitor &m) { return m.primary; });
    if (primary == monitors.end()) {
        primary = std::find_if(
            monitors.begin(), monitors.end(), [](const Monitor &m) { return m.rect.contains(QPoint(0, 0)); });
    }
    if (primary == monitors.end()) {
        primary = monitors.begin();
    }
    for (auto &monitor : monitors) {
        monitor.primary = false;
    }
    primary->primary = true;
    std::rotate(monitors.begin(), primary, primary + 1);
}

} // namespace platform
