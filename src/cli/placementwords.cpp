// Placements in words.
#include "placementwords.h"

namespace {

QString measureInWords(const Measure &measure, bool signedValue)
{
    const QString number
        = signedValue && measure.value >= 0 ? QStringLiteral("+%1").arg(measure.value) : QString::number(measure.value);
    return measure.unit == Unit::Pixels ? number + QStringLiteral(" px") : number + QLatin1Char('%');
}

// An alignment outside the named ones acts as the first, so it is named so.
QString horzName(HorzAlignment alignment)
{
    return alignment == HorzAlignment::Center ? QStringLiteral("center")
        : alignment == HorzAlignment::Right   ? QStringLiteral("right")
                                              : QStringLiteral("left");
}

QString vertName(VertAlignment alignment)
{
    return alignment == VertAlignment::Center ? QStringLiteral("center")
        : alignment == VertAlignment::Bottom  ? QStringLiteral("bottom")
                                              : QStringLiteral("top");
}

} // namespace

QString placementInWords(const Placement &placement)
{
    // The stored index counts from 0, the monitor list shows numbers from 1; a negative one means none was chosen.
    const QString monitor = placement.screenIndex >= 0 ? QStringLiteral("monitor %1").arg(placement.screenIndex + 1)
                                                       : QStringLiteral("primary monitor");
    QString words = QStringLiteral("%1, %2 %3, %4 %5, %6 x %7")
                        .arg(monitor, horzName(placement.horzAlignment), measureInWords(placement.horzOffset, true),
                            vertName(placement.vertAlignment), measureInWords(placement.vertOffset, true),
                            measureInWords(placement.width, false), measureInWords(placement.height, false));
    if (placement.maximized) {
        words += QStringLiteral(", maximized");
    }
    return words;
}
