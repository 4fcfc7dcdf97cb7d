// Names and addresses the program shows or opens.
#pragma once

#include <QString>

inline const QString kApplicationTitle = QStringLiteral("Framewright - Tarvelin Development");
// Opened by a click on the side picture.
inline const QString kMakerWebPage = QStringLiteral("https://framewright.org/");
// The help page, looked for beside the executable, then in the installed data folder.
inline const QString kHelpFileName = QStringLiteral("Framewright.html");
// The help topic of the main window (context number 1000).
inline const QString kMainWindowHelpTopic = QStringLiteral("main-window");
