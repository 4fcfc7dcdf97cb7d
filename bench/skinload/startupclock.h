// Measures the program's start-up time from outside: from starting the process until a top-level window whose
// name contains a given text is viewable on the X server of $DISPLAY.
#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>

// The time one start took, or nothing when the window did not appear within the budget (or there is no
// display). The program runs from a copy in a temporary folder, so its settings file lands there, and is
// ended with SIGTERM afterwards.
std::optional<std::chrono::nanoseconds> measureStartup(
    const QString &program, const QString &windowName, const QStringList &arguments = {});
