// Comparing descriptions and titles the way the user reads them: by the rules of the user's locale, without
// regard to letter case.
#pragma once

#include <QString>

// <0, 0 or >0 as `a` sorts before, with or after `b`.
int compareIgnoringCase(const QString &a, const QString &b);
bool sameIgnoringCase(const QString &a, const QString &b);
