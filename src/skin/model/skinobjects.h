// SkinObjects: everything a skin load builds from one package, in the order of loading. The painting code
// reads only these. An absent object means the platform's look for that element.
#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "dataskinbutton.h"
#include "dataskinobject.h"
#include "dataskinsysbutton.h"
#include "dataskintitle.h"
#include "skincolours.h"

struct SkinObjects
{
    static constexpr int kCustomColourCount = 10;

    QString skinName;
    // Frame edges: Top and Bottom stack their frames vertically, Left and Right side by side; the frames are
    // the active and inactive looks (FrameLook). tile is 0 when the edge's centre is stretched.
    std::optional<TDataSkinBorder> left;
    std::optional<TDataSkinBorder> right;
    std::optional<TDataSkinBorder> top;
    std::optional<TDataSkinBorder> bottom;

    SkinColours colours;
    QList<QColor> colourTable; // the numbered colours, entry n from the n-th "Colour..." section
    std::array<QColor, kCustomColourCount> customColours;

    // Title-bar buttons in description order, then the three MDI buttons (actions 7, 8, 9).
    std::vector<TDataSkinSysButton> sysButtons;

    std::optional<TDataSkinButton> buttons; // present when any of its three images is named
    TDataSkinTitle title;                   // always present: it carries the caption layout
    std::optional<TDataSkinBorder> progress;
    std::optional<TDataSkinObject> progressChunk;
    std::optional<TDataSkinObject> menuBar;
    std::optional<TDataSkinObject> groupBoxEdge;
    std::optional<TDataSkinBoxLabel> groupBox;
    std::optional<TDataSkinBorder> tabs; // second image: "Border"
    std::optional<TDataSkinObject> statusBarEdges;
    std::optional<TDataSkinObject> tabPane;
    std::optional<TDataSkinObject> toolBars;
    // With a SunkEdge object: the composed combo strip (style 2), second image its mirror image.
    std::optional<TDataSkinBorder> comboButton;
    std::optional<TDataSkinObject> sunkEdge;
    std::optional<TDataSkinObject> extraImages;
    std::optional<TDataSkinObject> headerbar;
    std::optional<TDataSkinObject> menuItem;
    std::optional<TDataSkinObject> menuBackground;
    std::optional<TDataSkinObject> scrollbar; // 23 frames: arrows and grips
    std::optional<TDataSkinObject> horzScroll;
    std::optional<TDataSkinObject> vertScroll;
    std::optional<TDataSkinObject> horzScrollThumb;
    std::optional<TDataSkinObject> vertScrollThumb;
    std::optional<TDataSkinObject> trackThumbHorz;
    std::optional<TDataSkinObject> trackThumbVert;
    std::optional<TDataSkinObject> trackThumbLeft;
    std::optional<TDataSkinObject> trackThumbRight;
    std::optional<TDataSkinObject> trackThumbUp;
    std::optional<TDataSkinObject> trackThumbDown;
    std::optional<TDataSkinBorder> upDownHorz; // second image: the glyph strip
    std::optional<TDataSkinBorder> upDownVert;
    // Track-bar channels; the built-in channels when the description names none.
    std::optional<TDataSkinObject> track;
    std::optional<TDataSkinObject> trackVert;

    // Derived after loading.
    std::optional<TDataSkinObject> comboxArrow; // the combo arrow button alone
    std::optional<TDataSkinObject> toolbar;     // tool-bar background gradient
};
