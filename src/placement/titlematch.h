// Whether a window's title matches a saved entry's title: as plain text, a case-insensitive part of the window's
// title; as a regular expression, a match anywhere in it through the pattern engine.
#pragma once

#include <QString>

// Plain text: `wanted` occurs in `windowTitle`, compared with Unicode case folding. Regular expression: the
// pattern engine finds `wanted` in the UTF-8 bytes of `windowTitle`; any engine error (an expression that does
// not compile, a match too complex) counts as no match and is not reported.
bool titleMatches(const QString &wanted, bool isRegex, const QString &windowTitle);
