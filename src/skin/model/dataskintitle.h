// TDataSkinTitle: the caption text of the title bar. The base fields carry the caption layout: image is the
// optional text background (two frames stacked vertically, active over inactive).
#pragma once

#include <optional>

#include "dataskinobject.h"

struct TDataSkinTitle : TDataSkinObject
{
    int textShift() const { return leftWidth; }      // offset of left-aligned text from the title area
    int textShiftVert() const { return topHeight; }  // vertical shift, applied halved
    int textRightClip() const { return rightWidth; } // clip distance from the title area's right end
    int textAlignment = 0;                           // CaptionAlign (skinmetrics.h)
    int textBackground = 0;                          // text background mode
    int fontHeight = 14;                             // caption font height, pixels
    int txtBackLeft = 0;                             // fixed left part of the text background, pixels
    int txtBackRight = 0;                            // fixed right part of the text background, pixels
    std::optional<QColor> activeColour;              // caption colours when the description gives them
    std::optional<QColor> inactiveColour;
};
