// Where the settings file lives: "KTZ.ini" beside the executable when that folder can be written and is not the
// folder the program is installed into, otherwise in the user's configuration folder.
#pragma once

#include <QString>

// $XDG_CONFIG_HOME when it is set to an absolute path, otherwise ~/.config (the XDG base directory rule).
QString configHomePath();

// The rule itself: <executableDir>/KTZ.ini if executableDir is a folder this process may write to and not
// installedBinDir (the same folder through any links), else <configHome>/framewright/KTZ.ini, whose folder the
// first save creates. An installed program run by root could write /usr/bin, but settings never go there.
QString settingsFilePath(const QString &executableDir, const QString &configHome, const QString &installedBinDir);

// The rule applied to this program's executable folder, configHomePath() and the folder the build installs
// programs into. Needs the QCoreApplication.
QString settingsFilePath();

// What error boxes about the settings file add when the file is not beside the executable: why (the program is
// installed, or its folder cannot be written) and which file is used instead. Empty when settingsPath lies in
// executableDir.
QString settingsLocationNote(const QString &executableDir, const QString &settingsPath, const QString &installedBinDir);

// The folder the build installs the programs into (an absolute path fixed at build time).
QString installedBinDir();
