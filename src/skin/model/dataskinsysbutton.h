// TDataSkinSysButton: one title-bar button (close, maximize, minimize, icon, custom) or one of the three
// MDI buttons; frames side by side, each (image width / frameCount) x image height.
#pragma once

#include "dataskinobject.h"

struct TDataSkinSysButton : TDataSkinObject
{
    int action = 0; // ButtonAction (skinmetrics.h)
    int align = 0;  // ButtonAlign
    int xcoord = 0;
    int ycoord = 0;
    int combineOp = -1;
    int visibility = 0;  // ButtonVisibility: the condition
    int visibility1 = 0; // ButtonVisibility: the second condition
};
