// The program without a reachable X server: one line on standard error and exit status 1, before Qt's platform
// plugin could abort it.
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

class ProgramStartTest : public QObject
{
    Q_OBJECT

private slots:
    void noDisplayIsOneClearLine_data();
    void noDisplayIsOneClearLine();
};

void ProgramStartTest::noDisplayIsOneClearLine_data()
{
    QTest::addColumn<QString>("display"); // empty: unset
    QTest::addColumn<QByteArray>("reason");

    QTest::newRow("DISPLAY unset") << QString() << QByteArray("DISPLAY is not set");
    QTest::newRow("DISPLAY empty") << QStringLiteral("") << QByteArray("DISPLAY is not set");
    QTest::newRow("no server at the display")
        << QStringLiteral(":65000") << QByteArray("cannot open display \":65000\"");
}

void ProgramStartTest::noDisplayIsOneClearLine()
{
    QFETCH(QString, display);
    QFETCH(QByteArray, reason);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    if (!display.isNull()) {
        environment.insert(QStringLiteral("DISPLAY"), display);
    }
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(FRAMEWRIGHT_PROGRAM), {});
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    QCOMPARE(program.readAllStandardError(), "framewright: cannot connect to the X server: " + reason + '\n');
    QCOMPARE(program.readAllStandardOutput(), QByteArray());
}

QTEST_GUILESS_MAIN(ProgramStartTest)

#include "programstart_test.moc"
