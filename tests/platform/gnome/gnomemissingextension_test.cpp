// GNOME Shell without Framewright's extension enabled (tests/support/gnome-session --no-extension): the program
// says in one line how to enable it and that a new login is needed the first time, and exits as without a display.
#include <QProcess>
#include <QTest>

class GnomeMissingExtensionTest : public QObject
{
    Q_OBJECT

private slots:
    void saysHowToEnableIt_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("--windows") << QStringList {"--windows"};
        QTest::newRow("--apply") << QStringList {"--apply", "Left half of screen"};
    }

    void saysHowToEnableIt()
    {
        QFETCH(QStringList, arguments);
        QProcess process;
        process.start(QStringLiteral(FRAMEWRIGHT_PROGRAM), arguments);
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 69);
        const QString error = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(error.count(u'\n') == 1, qPrintable(error));
        QVERIFY2(error.startsWith(QStringLiteral("framewright: ")), qPrintable(error));
        const QString enable
            = QStringLiteral("gnome-extensions enable ") + qEnvironmentVariable("FRAMEWRIGHT_GNOME_EXTENSION");
        QVERIFY2(error.contains(enable), qPrintable(error));
        QVERIFY2(error.contains(QStringLiteral("log out and in again")), qPrintable(error));
        QVERIFY(process.readAllStandardOutput().isEmpty());
    }
};

QTEST_GUILESS_MAIN(GnomeMissingExtensionTest)
#include "gnomemissingextension_test.moc"
