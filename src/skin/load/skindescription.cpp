// SkinDescription: integer, colour and image reads, and the common keys of skin objects.
#include "skindescription.h"

#include "skin/format/quickini.h"
#include "skin/format/skinreader.h"
#include "skinimage.h"

int SkinDescription::integer(std::string_view section, std::string_view key, int defaultValue) const
{
    return m_ini.readInteger(section, key, defaultValue);
}

bool SkinDescription::has(std::string_view section, std::string_view key) const
{
    return !m_ini.readString(section, key, {}).empty();
}

QColor SkinDescription::colour(std::string_view section, std::string_view key, const QColor &defaultValue) const
{
    const std::optional<RgbTriple> rgb = parseColourTriple(m_ini.readString(section, key, {}));
    return rgb ? QColor(rgb->red, rgb->green, rgb->blue) : defaultValue;
}

QColor SkinDescription::colourFromComponents(std::string_view section, std::string_view prefix) const
{
    const std::string name(prefix);
    const int red = integer(section, name + "R", -1);
    const int green = integer(section, name + "G", -1);
    const int blue = integer(section, name + "B", -1);
    if (red < 0 || green < 0 || blue < 0) {
        return {};
    }
    return QColor(red & 0xFF, green & 0xFF, blue & 0xFF);
}

QImage SkinDescription::image(std::string_view section, std::string_view key) const
{
    const std::string entry = skinImageEntryName(m_ini.readString(section, key, {}));
    if (entry.empty()) {
        return {};
    }
    return decodeSkinBitmap(m_package.extract(entry));
}

void SkinDescription::readCommon(std::string_view section, TDataSkinObject &object, const QColor &textDefault) const
{
    object.name = QString::fromLatin1(section);
    object.style = integer(section, "Style", 0);
    object.leftWidth = integer(section, "LeftWidth", 0);
    object.rightWidth = integer(section, "RightWidth", 0);
    object.topHeight = integer(section, "TopHeight", 0);
    object.bottomHeight = integer(section, "BottomHeight", 0);
    object.frameCount = integer(section, "Frame", 0);
    object.trans = integer(section, "Trans", 0);
    object.tile = integer(section, "Tile", 0) == 1 ? 1 : 0;
    object.normalColour = integer(section, "NormalColour", -1);
    object.mouseOverColour = integer(section, "MouseOverColour", -1);
    object.pressedColour = integer(section, "PressedColour", -1);
    object.normalColour2 = colour(section, "NormalColour2", textDefault);
    object.mouseOverColour2 = colour(section, "MouseOverColour2", textDefault);
    object.pressedColour2 = colour(section, "PressedColour2", textDefault);
}
