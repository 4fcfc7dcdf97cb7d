// Tests of the window's ends that run no ordinary shut-down: the X server going away with unsaved changes (Qt ends
// the program from inside its X11 plugin) still leaves them in the settings file, and a termination signal whose
// exit save fails ends the program with the reason on standard error instead of a box nobody can close.
#include "privatexserver.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include "filebytes.h"

namespace {

constexpr int kEndTimeoutMs = 30000; // far beyond any save; a probe still running then waits for someone

// Starts the probe on `settingsPath` with `environment` and waits for its change to be made.
bool startProbe(QProcess &probe, const QString &settingsPath, const QProcessEnvironment &environment)
{
    probe.setProcessEnvironment(environment);
    probe.start(QStringLiteral(FRAMEWRIGHT_MAINWND_PROBE), {settingsPath});
    return probe.waitForStarted() && probe.waitForReadyRead(kEndTimeoutMs)
        && probe.readLine().trimmed() == QByteArray("changed");
}

} // namespace

class AbruptEndTest : public QObject
{
    Q_OBJECT

private slots:
    void xServerGoneWithUnsavedEntries()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("KTZ.ini"));
        auto server = std::make_unique<PrivateXServer>();
        QVERIFY(!server->display().isEmpty());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(server->display()));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        QProcess probe;
        QVERIFY(startProbe(probe, path, environment));
        QVERIFY(!QFile::exists(path));

        server.reset(); // the display ends before the program
        QVERIFY2(probe.waitForFinished(kEndTimeoutMs), "the program did not end with its display");
        const QByteArray saved = readAll(path);
        QVERIFY2(saved.contains("PresetCount=15\n"), saved.constData());
        QVERIFY(!saved.contains("=Left half of screen\n"));
        QVERIFY(saved.contains("=Right half of screen\n"));
    }

    void terminatedWithAFailingSave()
    {
        QTemporaryDir dir;
        writeAll(dir.filePath(QStringLiteral("file")), "a file where the settings folder would be");
        const QString path = dir.filePath(QStringLiteral("file/KTZ.ini"));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess probe;
        QVERIFY(startProbe(probe, path, environment));

        QCOMPARE(::kill(pid_t(probe.processId()), SIGTERM), 0);
        if (!probe.waitForFinished(kEndTimeoutMs)) {
            probe.kill();
            probe.waitForFinished();
            QFAIL("the program did not end after SIGTERM");
        }
        QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
        const QString errors = QString::fromLocal8Bit(probe.readAllStandardError());
        QVERIFY2(errors.contains(QStringLiteral("framewright: Unable to write to %1: Not a directory\n").arg(path)),
            qPrintable(errors));
    }
};

QTEST_GUILESS_MAIN(AbruptEndTest)
#include "abruptend_test.moc"
