// The platform's colours for the named skin colours, mapped from Qt palette roles.
#include "skincolours.h"

#include <QPalette>

SkinColours platformColours(const QPalette &palette)
{
    SkinColours c;
    c.windowText = palette.color(QPalette::Active, QPalette::WindowText);
    c.buttonFace = palette.color(QPalette::Active, QPalette::Button);
    c.scrollbar = palette.color(QPalette::Active, QPalette::Mid);
    c.hilightText = palette.color(QPalette::Active, QPalette::HighlightedText);
    c.hilight = palette.color(QPalette::Active, QPalette::Highlight);
    c.menubar = c.buttonFace;
    c.menu = palette.color(QPalette::Active, QPalette::Window);
    c.menuText = palette.color(QPalette::Active, QPalette::WindowText);
    c.buttonText = palette.color(QPalette::Active, QPalette::ButtonText);
    c.buttonHilight = palette.color(QPalette::Active, QPalette::Light);
    c.buttonlight = c.buttonHilight; // a skin's Buttonlight defaults to the button highlight
    c.buttonShadow = palette.color(QPalette::Active, QPalette::Dark);
    c.buttonDkShadow = palette.color(QPalette::Active, QPalette::Shadow);
    c.menuBarText = palette.color(QPalette::Active, QPalette::WindowText);
    c.titleTextActive = palette.color(QPalette::Active, QPalette::HighlightedText);
    c.titleTextNoActive = palette.color(QPalette::Inactive, QPalette::PlaceholderText);
    return c;
}
