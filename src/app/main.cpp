// Program entry: the command line's modes without a window; else the application object, the window system, the
// main window, and the message loop.
#include "application.h"
#include "mainwnd.h"
#include "maprequestretry.h"
#include "messageboxes.h"
#include "singleinstance.h"
#include "uifont.h"

#include "cli/commandline.h"
#include "cli/terminationsignals.h"
#include "platform/sessionwindowsystem.h"
#include "platform/x11/x11windowsystem.h"
#include "settings/settingslocation.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QIcon>

#include <cstdio>

namespace {

// The help page beside the executable, else in the installed data folder (<prefix>/share/framewright).
QString helpFilePath()
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString beside = programDir.filePath(kHelpFileName);
    if (QFileInfo::exists(beside)) {
        return beside;
    }
    return QDir::cleanPath(programDir.filePath(QStringLiteral("../share/framewright/") + kHelpFileName));
}

// A one-line error as a message box says it: with a capital first letter.
QString sentenceCase(QString line)
{
    if (!line.isEmpty()) {
        line[0] = line[0].toUpper();
    }
    return line;
}

} // namespace

int main(int argc, char **argv)
{
    QString settingsFile; // --settings; empty: the usual file
    if (const auto status = runCommandLine(argc, argv, settingsFile)) {
        return *status;
    }
    // The window is an X11 client, through XWayland on a Wayland session, so that its own position and skinned frame
    // keep working; without XWayland it is a Wayland client, which cannot place itself.
    const bool waylandOnly = qEnvironmentVariableIsEmpty("DISPLAY") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", waylandOnly ? "wayland" : "xcb");
    }
    // Checked before the application object: without a display Qt's platform plugin aborts the program.
    if (const auto reason = waylandOnly ? std::nullopt : platform::x11::X11WindowSystem::unreachableReason()) {
        std::fprintf(stderr, "framewright: cannot connect to the X server: %s\n", reason->c_str());
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Framewright"));
    QApplication::setDesktopFileName(QStringLiteral("framewright"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/framewright/icons/framewright-256.png")));
    QApplication::setFont(interfaceFont());
    quitOnTerminationSignals();

    auto opened = platform::openSessionWindowSystem();
    if (!opened.windowSystem) {
        // Standard error for a start from a shell; the box for a start from the desktop, where nobody reads it.
        std::fprintf(stderr, "framewright: %s\n", qPrintable(opened.error));
        MessageBoxes().failure(nullptr, sentenceCase(opened.error));
        return 1;
    }
    if (!opened.note.isEmpty()) {
        std::fprintf(stderr, "framewright: %s\n", qPrintable(opened.note));
    }
    const std::unique_ptr<platform::WindowSystem> windowSystem = std::move(opened.windowSystem);
    MessageBoxes messageBoxes;
    MainWndServices services;
    services.windowSystem = windowSystem.get();
    services.messageBoxes = &messageBoxes;
    services.settingsPath = settingsFile.isEmpty() ? settingsFilePath() : settingsFile;
    if (settingsFile.isEmpty()) {
        services.settingsNote
            = settingsLocationNote(QCoreApplication::applicationDirPath(), services.settingsPath, installedBinDir());
    }
    // One window per settings file: a second start brings the running window to the front instead.
    const SingleInstance::Claim claim = SingleInstance::claim(services.settingsPath);
    if (!claim.instance) {
        if (claim.refusal.isEmpty()) {
            return 0;
        }
        std::fprintf(stderr, "framewright: %s\n", qPrintable(claim.refusal));
        return 1;
    }
    services.helpFile = helpFilePath();
    services.openUrl = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    services.noSkin = QCoreApplication::arguments().contains(QStringLiteral("--no-skin"));

    TMainWnd mainWnd(std::move(services));
    // Before show(): the window can be on screen before show() returns (whatever flushes the X connection during it
    // sends the map request), and a session that ends the program as soon as it appears must get the shut-down.
    eventLoopStarts();
    mainWnd.show();
    MapRequestRetry::watch(&mainWnd);
    return application.exec();
}
