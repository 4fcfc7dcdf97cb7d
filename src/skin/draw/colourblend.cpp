// Weighted colour blending and the title brightness measure.
#include "colourblend.h"

#include <algorithm>

QColor blendColours(const QColor &c1, const QColor &c2, int weight)
{
    const int scale = weight < 100 ? 100 : 1000;
    const auto channel
        = [&](int a, int b) { return std::clamp((a * weight + b * (scale - weight) + scale / 2) / scale, 0, 255); };
    return QColor(channel(c1.red(), c2.red()), channel(c1.green(), c2.green()), channel(c1.blue(), c2.blue()));
}

int titleBrightness(const QColor &colour)
{
    const QColor hsv = colour.toHsv();
    return std::max(0, hsv.value() - hsv.saturation() / 2);
}
