// The platform values a skin load depends on: default colours and the scroll-bar arrow width. Passed in
// explicitly so that loading gives the same result everywhere it is tested.
#pragma once

#include "skincolours.h"

struct PlatformLook
{
    SkinColours colours;         // defaults of the named colours
    int scrollArrowWidthPx = 16; // width of a horizontal scroll bar's arrow button

    // From the running application's palette and style; fixed values when there is no application.
    static PlatformLook current();
};
