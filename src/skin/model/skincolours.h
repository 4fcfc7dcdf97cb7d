// The named colours of a skin (section "Colours"), one field per key, and the platform's colours used as
// their defaults.
#pragma once

#include <QColor>

class QPalette;

struct SkinColours
{
    QColor windowText;
    QColor buttonFace;
    QColor scrollbar;
    QColor hilightText;
    QColor hilight;
    QColor menubar;
    QColor menu;
    QColor menuText;
    QColor buttonText;
    QColor buttonHilight;
    QColor buttonlight;
    QColor buttonShadow;
    QColor buttonDkShadow;
    QColor menuBarText;
    QColor titleTextActive;
    QColor titleTextNoActive;
};

// The platform colour named after every key, taken from a palette (Menubar: the button face; Buttonlight:
// the button highlight).
SkinColours platformColours(const QPalette &palette);
