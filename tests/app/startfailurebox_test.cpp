// The window when no window system can be opened for the session (here: a Wayland session whose sway socket is
// gone, with XWayland's display reachable): the one line on standard error as from the command line, and the same
// line in a message box, since a start from the desktop shows standard error to nobody. Closing the box ends the
// program with status 1. Runs under the X11 harness.
#include "application.h"
#include "rawx.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

QString windowName(RawX &x, xcb_window_t window)
{
    const xcb_get_property_cookie_t cookie
        = xcb_get_property(x.connection(), 0, window, x.atom("_NET_WM_NAME"), x.atom("UTF8_STRING"), 0, 1024);
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(x.connection(), cookie, nullptr), &std::free);
    if (!reply || reply->format != 8) {
        return {};
    }
    return QString::fromUtf8(
        static_cast<const char *>(xcb_get_property_value(reply.get())), xcb_get_property_value_length(reply.get()));
}

std::optional<xcb_window_t> windowNamed(RawX &x, const QString &name)
{
    for (const quint32 window : x.values(x.root(), "_NET_CLIENT_LIST")) {
        if (windowName(x, window) == name) {
            return window;
        }
    }
    return std::nullopt;
}

} // namespace

class StartFailureBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void theLineGoesToStandardErrorAndIntoABox()
    {
        RawX x;
        QVERIFY(x.connected());
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString socket = folder.filePath("gone.sock");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("WAYLAND_DISPLAY", "wayland-framewright-test");
        environment.insert("SWAYSOCK", socket);
        environment.insert("XDG_RUNTIME_DIR", folder.path());
        environment.remove("QT_QPA_PLATFORM");
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(FRAMEWRIGHT_PROGRAM), {"--settings", folder.filePath("KTZ.ini")});
        QVERIFY(program.waitForStarted());

        std::optional<xcb_window_t> box;
        QTRY_VERIFY_WITH_TIMEOUT((box = windowNamed(x, kApplicationTitle)).has_value(), 30000);
        QCOMPARE(program.state(), QProcess::Running); // the box waits for the user
        const QByteArray line = "framewright: cannot connect to sway's IPC socket " + socket.toUtf8() + " (SWAYSOCK)\n";
        QTRY_COMPARE(program.peek(0), QByteArray()); // nothing on standard output
        program.setReadChannel(QProcess::StandardError);
        QTRY_COMPARE(program.peek(line.size() + 1), line);

        x.sendMessage(*box, "_NET_CLOSE_WINDOW", {0, 2});
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 1);
        QCOMPARE(program.readAllStandardError(), line);
        QCOMPARE(program.readAllStandardOutput(), QByteArray());
    }
};

QTEST_GUILESS_MAIN(StartFailureBoxTest)
#include "startfailurebox_test.moc"
