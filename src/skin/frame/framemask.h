// The shape of a framed window: the whole window, or, when a frame edge is transparent, the client area
// with the edges' non-magenta pixels as drawn for the window's size.
#pragma once

#include <QRegion>

#include "framefacts.h"

struct SkinObjects;

// When none of the Left, Right and Top edges is transparent, the whole window. Otherwise the client area
// and, per edge, the non-magenta pixels of the edge as drawn (when its Trans is 1 and it is at least 2
// pixels thick) or its whole rectangle.
QRegion frameMask(const SkinObjects &skin, const FrameFacts &facts);
