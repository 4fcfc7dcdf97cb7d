// Placement values in percent of a monitor's size or in pixels: limits per unit, conversion between the units,
// and reading an edit's text as a value.
#pragma once

#include <QString>

#include "placement.h"

struct UnitLimits
{
    int minimum;
    int maximum;
    int maxTypedChars; // how many characters the user can type into the value's edit
};

constexpr UnitLimits unitLimits(Unit unit)
{
    return unit == Unit::Percent ? UnitLimits {-500, 500, 4} : UnitLimits {-32000, 32000, 6};
}

int clampToUnit(qint64 value, Unit unit);

// Trunc(pixels * 100 / referencePx + 0.5) in floating point, clamped to the percent limits. Trunc cuts toward
// zero, so negative results move toward zero (-13.6 gives -13). A reference size of 0 keeps the value.
int pixelsToPercent(int pixels, int referencePx);
// Trunc(percent * referencePx / 100 + 0.5) in floating point, clamped to the pixel limits. A reference size of 0
// keeps the value.
int percentToPixels(int percent, int referencePx);

// The text as a decimal integer (optional sign, digits only, 32-bit range); anything else gives 0.
int decimalOrZero(const QString &text);
