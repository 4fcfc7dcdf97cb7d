// Colour arithmetic of skins: tints by weighted blending, and the brightness measure that picks the
// tool-bar gradient's bottom colour.
#pragma once

#include <QColor>

// c1 weighted w against c2: per channel (c1 * w + c2 * (scale - w) + scale / 2) / scale, where the scale is
// 100 when w < 100 and 1000 otherwise (so 15 means 15 %, 150 means 15 %, 100 means 10 %).
QColor blendColours(const QColor &c1, const QColor &c2, int weight);

// Brightness 0..255 from the HSV form: the value lowered by half the saturation, so that strong colours
// count as darker than greys of the same value.
int titleBrightness(const QColor &colour);
