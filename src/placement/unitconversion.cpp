// Unit limits and conversions of the placement values.
#include "unitconversion.h"

#include <algorithm>
#include <cmath>

namespace {

int truncatedRoundHalfUp(double value)
{
    return static_cast<int>(std::clamp(std::trunc(value + 0.5), -2147483648.0, 2147483647.0));
}

} // namespace

int clampToUnit(qint64 value, Unit unit)
{
    const UnitLimits limits = unitLimits(unit);
    return static_cast<int>(std::clamp<qint64>(value, limits.minimum, limits.maximum));
}

int pixelsToPercent(int pixels, int referencePx)
{
    if (referencePx == 0) {
        return clampToUnit(pixels, Unit::Percent);
    }
    return clampToUnit(truncatedRoundHalfUp(pixels * 100.0 / referencePx), Unit::Percent);
}

int percentToPixels(int percent, int referencePx)
{
    if (referencePx == 0) {
        return clampToUnit(percent, Unit::Pixels);
    }
    return clampToUnit(truncatedRoundHalfUp(double(percent) * referencePx / 100.0), Unit::Pixels);
}

int decimalOrZero(const QString &text)
{
    const QStringView view(text);
    const qsizetype digitsStart = !view.isEmpty() && (view[0] == u'-' || view[0] == u'+') ? 1 : 0;
    if (view.size() == digitsStart) {
        return 0;
    }
    for (qsizetype i = digitsStart; i < view.size(); ++i) {
        if (view[i] < u'0' || view[i] > u'9') {
            return 0;
        }
    }
    bool ok = false;
    const int value = view.toInt(&ok, 10);
    return ok ? value : 0;
}
