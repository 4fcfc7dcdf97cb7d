// The anchored rectangle of a window that keeps another size than the one asked for.
#include "anchoredrect.h"

#include <algorithm>
#include <cstdint>

namespace platform {

QRect anchoredRect(const QRect &target, QSize size, Qt::Alignment anchor, int coordinateLimitPx)
{
    const auto start = [coordinateLimitPx](int targetStart, int targetSize, int size, bool end, bool centre) {
        const int64_t free = int64_t(targetSize) - size;
        const int64_t position = targetStart + (end ? free : centre ? free / 2 : 0);
        return static_cast<int>(std::clamp<int64_t>(position, -coordinateLimitPx, coordinateLimitPx));
    };
    return QRect(start(target.x(), target.width(), size.width(), anchor & Qt::AlignRight, anchor & Qt::AlignHCenter),
        start(target.y(), target.height(), size.height(), anchor & Qt::AlignBottom, anchor & Qt::AlignVCenter),
        size.width(), size.height());
}

} // namespace platform
