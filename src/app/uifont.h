// The interface font of the program's windows: a compact sans serif at 11 pixels, the size at which every
// caption fits the fixed control bounds of the main window and the entry dialog.
#pragma once

#include <QFont>

QFont interfaceFont();
QFont boldInterfaceFont();
