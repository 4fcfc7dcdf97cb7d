// The modes that run once and end: listing the saved entries and the windows, matching and applying entries. Each
// reads the settings file (never writes it) and, except --list, talks to the X display.
#pragma once

#include "commandline.h"

#include "entries/savedentries.h"
#include "placement/applyentry.h"
#include "platform/windowsystem.h"

#include <QTextStream>

#include <memory>
#include <vector>

// Runs --list, --windows, --match or --apply; the exit status.
int runCommand(const Invocation &invocation);

// The saved entries of the settings file the invocation names: a line on `errors` and the exit status when the
// file cannot be read.
std::optional<int> loadEntries(const Invocation &invocation, SavedEntries &entries, QTextStream &errors);
// The entries named by `descriptions`, in that order (all with a title when there are none); a line on `errors`
// and the exit status for a description no entry has.
std::optional<int> findEntries(
    const SavedEntries &entries, const QStringList &descriptions, std::vector<cParameters> &found, QTextStream &errors);
// The X display's window system; a line on `errors` when there is none.
std::unique_ptr<platform::WindowSystem> openWindowSystem(QTextStream &errors);

// One line on standard error: the program's name and the message, whose control characters (those of a title or a
// description in it as well) are escaped as printableSettingsText does.
void printError(QTextStream &errors, const QString &message);

// One line per entry: description, the title it is for, the placement in words; tab-separated, the first two
// escaped as printableSettingsText does.
void listEntries(const SavedEntries &entries, QTextStream &out);
// A window's id as every mode writes it: 0x and eight hexadecimal digits, as xprop and xwininfo read it.
QString windowId(platform::WindowId id);
// One line for a window as the program reads it: id, monitor, state, outer rectangle, title; tab-separated. The
// title is any program's text: escaped as printableSettingsText does, so that it can neither act on the terminal
// nor break the line.
// Nothing (false) when the window cannot be read any more.
bool printWindow(platform::WindowSystem &windowSystem, const platform::TopLevelWindow &window, QTextStream &out);
// Applies the entries in turn (an entry without a window title to the active window) and prints each window moved; a
// line on `errors` for each that did not land.
int applyEntries(const std::vector<cParameters> &entries, platform::WindowSystem &windowSystem, QTextStream &out,
    QTextStream &errors);
