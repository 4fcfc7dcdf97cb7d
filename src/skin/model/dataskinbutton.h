// TDataSkinButton: push buttons (image "Bitmap", 5 frames side by side) and the check-box and radio-button
// images that share their section.
#pragma once

#include "dataskinobject.h"

struct TDataSkinButton : TDataSkinObject
{
    QImage checkImage; // frames side by side
    QImage radioImage; // frames side by side
    int checkFrameCount = 4;
    int radioFrameCount = 4;
    // Whether the description gave each text colour (otherwise it is the ButtonText colour).
    bool hasNormalColour2 = false;
    bool hasMouseOverColour2 = false;
    bool hasPressedColour2 = false;
};
