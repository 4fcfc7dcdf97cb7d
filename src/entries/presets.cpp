// The built-in presets' table.
#include "presets.h"

namespace {

constexpr auto Left = HorzAlignment::Left;
constexpr auto HCenter = HorzAlignment::Center;
constexpr auto Right = HorzAlignment::Right;
constexpr auto Top = VertAlignment::Top;
constexpr auto VCenter = VertAlignment::Center;
constexpr auto Bottom = VertAlignment::Bottom;

cParameters preset(
    const char *description, HorzAlignment horz, VertAlignment vert, int width, int height, bool inPixels)
{
    const Unit sizeUnit = inPixels ? Unit::Pixels : Unit::Percent;
    Placement placement;
    placement.horzAlignment = horz;
    placement.horzOffset = {0, Unit::Pixels};
    placement.vertAlignment = vert;
    placement.vertOffset = {0, Unit::Pixels};
    placement.width = {width, sizeUnit};
    placement.height = {height, sizeUnit};
    return cParameters(QString::fromLatin1(description), QString(), false, placement);
}

} // namespace

std::vector<cParameters> builtInPresets()
{
    constexpr bool kPixels = true;
    constexpr bool kPercent = false;
    return {
        preset("800 x 600 left-aligned", Left, Top, 800, 600, kPixels),
        preset("800 x 600 horizontally centered", HCenter, Top, 800, 600, kPixels),
        preset("800 x 600 right-aligned", Right, Top, 800, 600, kPixels),
        preset("1024 x 768 left-aligned", Left, Top, 1024, 768, kPixels),
        preset("1024 x 768 horizontally centered", HCenter, Top, 1024, 768, kPixels),
        preset("1024 x 768 right-aligned", Right, Top, 1024, 768, kPixels),
        preset("1280 x 1024 left-aligned", Left, Top, 1280, 1024, kPixels),
        preset("1280 x 1024 horizontally centered", HCenter, Top, 1280, 1024, kPixels),
        preset("1280 x 1024 right-aligned", Right, Top, 1280, 1024, kPixels),
        preset("Left half of screen", Left, VCenter, 50, 100, kPercent),
        preset("Center vertical half of screen", HCenter, VCenter, 50, 100, kPercent),
        preset("Right half of screen", Right, VCenter, 50, 100, kPercent),
        preset("Upper half of screen", HCenter, Top, 100, 50, kPercent),
        preset("Center horizontal half of screen", HCenter, VCenter, 100, 50, kPercent),
        preset("Lower half of screen", HCenter, Bottom, 100, 50, kPercent),
        preset("Quarter size horizontally and vertically centered", HCenter, VCenter, 50, 50, kPercent),
    };
}
