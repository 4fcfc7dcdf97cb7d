// framewright: runs the command line's modes; for the window it becomes framewright-window, the program beside it
// that holds the widgets, so that the modes never load them. On a session whose backend talks D-Bus (KWin, GNOME
// Shell) it becomes framewright-window for the modes too, so that it never loads the D-Bus libraries itself.
#include "commandline.h"
#include "executablepath.h"

#include "platform/sessionwindowsystem.h"

#include <QByteArray>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

// framewright-window in the folder of this executable (its real path, as the window reads its own folder).
QByteArray windowProgram()
{
    const QByteArray path = executablePath();
    return path.left(path.lastIndexOf('/') + 1) + "framewright-window";
}

} // namespace

int main(int argc, char **argv)
{
    QString settingsFile;
    // This program is linked without KWin's and GNOME Shell's backends (their D-Bus libraries would slow every start
    // on X11); the window's program has them and runs the modes in the same way.
    if (!platform::sessionNeedsDBus()) {
        if (const auto status = runCommandLine(argc, argv, settingsFile)) {
            return *status;
        }
    }
    const QByteArray program = windowProgram();
    ::execv(program.constData(), argv);
    std::fprintf(stderr, "framewright: cannot start %s: %s\n", program.constData(), std::strerror(errno));
    return 127;
}
