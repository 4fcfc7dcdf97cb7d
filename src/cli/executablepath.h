// This program's executable as the kernel knows it: the window's program lies beside it, and the settings file may.
// Read from /proc, so that the command line's modes need no QCoreApplication to find their folder.
#pragma once

#include <QByteArray>
#include <QString>

// The executable's real path (every link resolved), or empty when /proc/self/exe cannot be read.
QByteArray executablePath();

// The folder of executablePath(), as QCoreApplication::applicationDirPath gives it; empty as that is.
QString executableFolder();
