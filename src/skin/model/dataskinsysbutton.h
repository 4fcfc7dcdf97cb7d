// TDataSkinSysButton: one title-bar button (close, maximize, minimize, icon, custom) or one of the three
// MDI buttons; frames side by side, each (image width / frameCount) x image height.
#pragma once

#include "dataskinobject.h"

struct TDataSkinSysButton : TDataSkinObject
{
    int action = 0; // 0 close, 1 maximize/restore, 2 minimize, 3/11 window menu (draws the icon), ...
    int align = 0;  // 0 from the left, 1 from the right, 2/8 left of the caption, 3/9 right of it, 100 MDI
    int xcoord = 0;
    int ycoord = 0;
    int combineOp = -1;
    int visibility = 0;  // visibility condition code
    int visibility1 = 0; // second visibility condition code
};
