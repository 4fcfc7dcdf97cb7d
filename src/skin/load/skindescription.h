// SkinDescription: typed reads of a skin description and of the images it names, for the loading steps.
// Lives only during one load, over the opened package and its parsed description.
#pragma once

#include <QColor>
#include <QImage>
#include <string>
#include <string_view>

#include "skin/model/dataskinobject.h"

class TQuickIni;
class TSkinReader;

class SkinDescription
{
public:
    SkinDescription(const TQuickIni &ini, const TSkinReader &package)
        : m_ini(ini)
        , m_package(package)
    { }

    const TQuickIni &ini() const { return m_ini; }

    int integer(std::string_view section, std::string_view key, int defaultValue) const;
    bool has(std::string_view section, std::string_view key) const; // a non-empty value is given
    // A colour triple; defaultValue when the value is absent or empty.
    QColor colour(std::string_view section, std::string_view key, const QColor &defaultValue) const;
    // The three keys prefix + "R", "G", "B"; invalid unless all three are given and not negative.
    QColor colourFromComponents(std::string_view section, std::string_view prefix) const;
    // The image the value of key names; null when the value is empty or names no readable ".bmp" entry.
    QImage image(std::string_view section, std::string_view key) const;

    // The keys every object reads: margins, "Frame", "Style", "Trans", "Tile" (1 tiles, anything else
    // stretches), the colour indices and the colour texts (textDefault when absent).
    void readCommon(std::string_view section, TDataSkinObject &object, const QColor &textDefault) const;

private:
    const TQuickIni &m_ini;
    const TSkinReader &m_package;
};
