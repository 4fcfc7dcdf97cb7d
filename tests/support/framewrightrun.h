// Runs the framewright program of this build as a user would, to its end, and hands back its exit status and
// output; starts its --watch. For the tests of the command line on every window system.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct Run
{
    int status = -1; // the exit status; -1 when the program did not start, crashed or outlived the limit
    QString out;     // standard output and error, decoded as UTF-8
    QString err;
    QByteArray rawOut; // the same, byte for byte, for checks that must see what reached the terminal
    QByteArray rawErr;
};

struct RunOptions
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    int limitMs = 60000; // generous: a loaded machine starts slowly, and a hung program still ends the run
};

// Runs framewright with `arguments`; whatever it wrote is collected even when it did not end normally.
Run runFramewright(const QStringList &arguments, const RunOptions &options = {});

// Starts framewright with `arguments` (a --watch) in `watch` and polls its standard error until it has written the
// whole line saying what it watches for, has ended, or `limitMs` has passed; what it wrote there by then.
QByteArray startWatching(QProcess &watch, const QStringList &arguments, int limitMs = 20000);
