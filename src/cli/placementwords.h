// A placement in words, as the command line lists saved entries: "monitor 2, right +10 px, bottom +10 px,
// 50% x 50%", with ", maximized" when it is.
#pragma once

#include <QString>

#include "placement/placement.h"

QString placementInWords(const Placement &placement);
