// Where the settings file lives: "KTZ.ini" beside the executable when that folder can be written, otherwise in
// the user's configuration folder (an installed program).
#pragma once

#include <QString>

// $XDG_CONFIG_HOME when it is set to an absolute path, otherwise ~/.config (the XDG base directory rule).
QString configHomePath();

// The rule itself: <executableDir>/KTZ.ini if executableDir is a folder this process may write to, else
// <configHome>/framewright/KTZ.ini, whose folder the first save creates.
QString settingsFilePath(const QString &executableDir, const QString &configHome);

// The rule applied to this program's executable folder and configHomePath(). Needs the QCoreApplication.
QString settingsFilePath();

// What error boxes about the settings file add when the file is not beside the executable: that the program's
// folder cannot be written and which file is used instead. Empty when settingsPath lies in executableDir.
QString settingsLocationNote(const QString &executableDir, const QString &settingsPath);
