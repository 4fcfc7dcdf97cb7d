// The main window as the program runs it, for tests that end it from outside: termination signals handled, the
// window shown with a fake window system and the real message boxes, one saved entry removed (a change that only a
// save writes), "changed" announced on standard output, then the message loop.
// Usage: mainwndprobe <settings path>   (the display and platform come from the environment)
#include "fakewindowsystem.h"
#include "mainwnd.h"
#include "messageboxes.h"

#include "cli/terminationsignals.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: mainwndprobe <settings path>\n");
        return 64;
    }
    quitOnTerminationSignals();
    FakeWindowSystem windowSystem;
    MessageBoxes messageBoxes;
    MainWndServices services;
    services.windowSystem = &windowSystem;
    services.messageBoxes = &messageBoxes;
    services.settingsPath = QString::fromLocal8Bit(argv[1]);
    services.openUrl = [](const QUrl &) { return true; };
    services.noSkin = true;
    TMainWnd window(services);
    window.show();
    window.RemoveByDescription(QStringLiteral("Left half of screen"));
    eventLoopStarts();
    std::puts("changed");
    std::fflush(stdout);
    return QApplication::exec();
}
