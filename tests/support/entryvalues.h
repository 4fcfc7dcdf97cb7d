// Saved entries for tests, written with the settings file's fifteen values in the order of the entry's value
// constructor: short rows in test tables, and every field in one list for comparisons.
#pragma once

#include "entries/cparameters.h"

#include <QStringList>

inline cParameters entryWith(const QString &description, const QString &title, bool regex, int screenIndex,
    int horzIndex, int vertIndex, int horzValue, int vertValue, int widthValue, int heightValue, bool horzPx,
    bool vertPx, bool widthPx, bool heightPx, bool maximized)
{
    const auto unit = [](bool pixels) { return pixels ? Unit::Pixels : Unit::Percent; };
    Placement placement;
    placement.screenIndex = screenIndex;
    placement.horzAlignment = HorzAlignment(horzIndex);
    placement.horzOffset = {horzValue, unit(horzPx)};
    placement.vertAlignment = VertAlignment(vertIndex);
    placement.vertOffset = {vertValue, unit(vertPx)};
    placement.width = {widthValue, unit(widthPx)};
    placement.height = {heightValue, unit(heightPx)};
    placement.maximized = maximized;
    return cParameters(description, title, regex, placement);
}

// Every field in the settings file's terms, so that one comparison covers a whole entry and a failure shows which
// field differs: Description, Title, Regex, ScreenIndex, HorzIndex, VertIndex, the four values, the four "Px"
// flags, Maximized, Selected.
inline QStringList entryFields(const cParameters &p)
{
    const Placement &v = p.placement;
    const auto px = [](const Measure &m) { return QString::number(m.unit == Unit::Pixels); };
    return {p.Description, p.Title, QString::number(p.Regex), QString::number(v.screenIndex),
        QString::number(int(v.horzAlignment)), QString::number(int(v.vertAlignment)),
        QString::number(v.horzOffset.value), QString::number(v.vertOffset.value), QString::number(v.width.value),
        QString::number(v.height.value), px(v.horzOffset), px(v.vertOffset), px(v.width), px(v.height),
        QString::number(v.maximized), QString::number(p.Selected)};
}
