// The default Skin3rd table: further control classes mapped to skin kinds ("class=kind"), looked up
// case-blind by class name, the first line of a class winning.
#pragma once

#include <QStringList>

QStringList defaultSkin3rd();
