// SkinSource: what painting follows of a skin component: its loaded skin and the settings that change how
// controls and menus are drawn. The component owns it and keeps it current; painters hold it weakly, so that
// nothing is painted from a component that has gone.
#pragma once

#include <optional>

#include "skinobjects.h"

struct SkinSource
{
    std::optional<SkinObjects> skin; // empty until a description has been read completely
    bool transparentButtons = false; // push buttons show their parent's background (xoTransparent)
    bool noFocusRect = false;        // push buttons draw no focus rectangle (xoNoFocusRect)
    bool opaqueMenus = false;        // a popup menu's background is never erased before painting (xoMenuBG)
    bool popupMenus = false;         // popup menus are drawn from the skin (xcPopupMenu)
    bool systemMenu = false;         // the system menu is drawn from the skin (xcSystemMenu)
};
