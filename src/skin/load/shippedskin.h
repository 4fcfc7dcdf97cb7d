// The skin package the program ships (packed from skins/default at build time and embedded).
#pragma once

#include <QByteArray>

// The package proper (unpacked size and bit stream), without the stored property's length prefix.
// The bytes are static; the array does not copy them.
QByteArray shippedSkinPackage();
