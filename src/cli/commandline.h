// The command line: which mode the arguments ask for, and the program's documented exit statuses. With no
// arguments, or only the window's options (--no-skin, --settings FILE), the window starts; any other mode runs
// without a window against the same settings file, which it only reads.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

// Exit statuses; the usage text and the README list them.
enum ExitStatus : int {
    kExitOk = 0,
    kExitNoMatch = 1,       // --apply, --match: no window matched
    kExitNotLanded = 2,     // --apply: some window did not take its placement
    kExitUsage = 64,        // unknown option, missing or extra argument
    kExitUnknownEntry = 65, // a description that no saved entry has, or nothing to watch for
    kExitSettings = 66,     // the settings file cannot be read
    kExitNoDisplay = 69,    // no X display (or it went away while watching)
};

enum class Mode { Window, List, Windows, Match, Apply, Watch, Help, Version };

struct Invocation
{
    Mode mode = Mode::Window;
    QStringList descriptions; // --match (one), --apply (one or more), --watch (none: every entry with a title)
    QString settingsFile;     // --settings; empty: the usual file
};

// A usage error: one line for standard error.
struct UsageError
{
    QString message;
};

// `arguments` without the program name. Options may be given as "--settings FILE" or "--settings=FILE"; after
// "--" every argument is a description.
std::variant<Invocation, UsageError> parseArguments(const QStringList &arguments);

// The usage text of --help.
QString usageText();

// Runs the mode the arguments ask for and returns its exit status, or nothing when they ask for the window; then
// `settingsFile` is the file given with --settings (empty: the usual one). Creates no widget and, for the window,
// no application object either.
std::optional<int> runCommandLine(int argc, char **argv, QString &settingsFile);
