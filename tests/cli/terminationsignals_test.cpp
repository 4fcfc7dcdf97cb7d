// Tests of the termination-signal handling: a signal during the start ends the program at once and runs no shut-down;
// a signal once the event loop runs leaves the loop, so the shut-down writes the settings.
#include <QProcess>
#include <QTest>

#include <csignal>

class TerminationSignalsTest : public QObject
{
    Q_OBJECT

private slots:
    void signal_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<bool>("shutDown"); // else killed by the signal

        QTest::newRow("SIGTERM while starting") << "starting" << int(SIGTERM) << false;
        QTest::newRow("SIGINT while starting") << "starting" << int(SIGINT) << false;
        QTest::newRow("SIGTERM while running") << "running" << int(SIGTERM) << true;
        QTest::newRow("SIGINT while running") << "running" << int(SIGINT) << true;
        QTest::newRow("SIGHUP while running") << "running" << int(SIGHUP) << true;
    }

    void signal()
    {
        QFETCH(QString, state);
        QFETCH(int, signalNumber);
        QFETCH(bool, shutDown);
        QProcess probe;
        probe.start(QStringLiteral(FRAMEWRIGHT_TERMINATION_PROBE), {state});
        QVERIFY(probe.waitForStarted());
        QVERIFY(probe.waitForReadyRead());
        QCOMPARE(probe.readLine().trimmed(), state.toUtf8());
        QCOMPARE(::kill(pid_t(probe.processId()), signalNumber), 0);
        QVERIFY(probe.waitForFinished());
        if (shutDown) {
            QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
            QCOMPARE(probe.exitCode(), 0);
            QCOMPARE(probe.readAll().trimmed(), QByteArray("shut down"));
        } else {
            QCOMPARE(probe.exitStatus(), QProcess::CrashExit);
            QVERIFY(probe.readAll().isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(TerminationSignalsTest)
#include "terminationsignals_test.moc"
