// Loading step 3: the named colours of section "Colours", the numbered colour table and the custom colours.
#include "skin/format/quickini.h"
#include "skinloadsteps.h"

#include <QColor>
#include <string>

namespace skinload {

namespace {

constexpr const char *kColours = "Colours";

} // namespace

void readColours(const SkinDescription &description, const SkinColours &platform, SkinObjects &skin)
{
    SkinColours &c = skin.colours;
    const auto read
        = [&](const char *key, const QColor &defaultValue) { return description.colour(kColours, key, defaultValue); };
    c.windowText = read("WindowText", platform.windowText);
    c.buttonFace = read("ButtonFace", platform.buttonFace);
    c.scrollbar = read("Scrollbar", platform.scrollbar);
    c.hilightText = read("HilightText", platform.hilightText);
    c.hilight = read("Hilight", platform.hilight);
    c.menubar = read("Menubar", c.buttonFace);
    c.menu = read("Menu", platform.menu);
    c.menuText = read("MenuText", platform.menuText);
    c.buttonText = read("ButtonText", platform.buttonText);
    c.buttonHilight = read("ButtonHilight", platform.buttonHilight);
    c.buttonlight = read("Buttonlight", platform.buttonlight);
    c.buttonShadow = read("ButtonShadow", platform.buttonShadow);
    c.buttonDkShadow = read("ButtonDkShadow", platform.buttonDkShadow);
    c.menuBarText = read("MenuBarText", platform.menuBarText);
    c.titleTextActive = read("TitleTextActive", platform.titleTextActive);
    c.titleTextNoActive = read("TitleTextNoActive", platform.titleTextNoActive);

    // Entry n is the n-th such section in file order, whatever number its name carries.
    skin.colourTable.clear();
    for (const std::string &section : description.ini().readSections()) {
        const std::string upper = upperCased(section);
        if (upper.starts_with("COLOUR") && upper != "COLOURS") {
            skin.colourTable.append(description.colour(section, "color", c.windowText));
        }
    }

    for (int n = 0; n < SkinObjects::kCustomColourCount; ++n) {
        skin.customColours[n] = description.colour("Customcolors", "Color" + std::to_string(n), Qt::white);
    }
}

} // namespace skinload
