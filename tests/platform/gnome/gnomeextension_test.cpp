// The GNOME Shell extension as it is put together for each version of the shell (the same step as
// `cmake --install`): its files, its metadata, and a load through gjs in the module style of that version, against
// the real GObject libraries and mutter's Meta, with the shell's own modules stood in for. GNOME 45 and later cannot
// run on this machine; this is the check that their variant loads as they load it.
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kProcessTimeoutMs = 60000;

struct Finished
{
    int status = -1;
    QString out;
};

Finished run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("GI_TYPELIB_PATH"), QStringLiteral(FRAMEWRIGHT_MUTTER_TYPELIB_DIR));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(kProcessTimeoutMs) || process.exitStatus() != QProcess::NormalExit) {
        return {-1, QString::fromUtf8(process.readAll())};
    }
    return {process.exitCode(), QString::fromUtf8(process.readAll())};
}

} // namespace

class GnomeExtensionTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(
            QByteArray(FRAMEWRIGHT_MUTTER_TYPELIB_DIR).size() > 0, "mutter's Meta typelib is missing (gnome-shell)");
        QVERIFY(m_dir.isValid());
        const QString loaders = QStringLiteral(FRAMEWRIGHT_EXTENSION_LOADERS);
        m_shellModules = m_dir.filePath(QStringLiteral("shell.gresource"));
        const Finished compiled = run(QStringLiteral("glib-compile-resources"),
            {QStringLiteral("--sourcedir=") + loaders + QStringLiteral("/shell"),
                QStringLiteral("--target=") + m_shellModules, loaders + QStringLiteral("/shell/shell.gresource.xml")});
        QVERIFY2(compiled.status == 0, qPrintable(compiled.out));
    }

    void loadsAsItsShellLoadsIt_data()
    {
        QTest::addColumn<int>("shellVersion");
        QTest::addColumn<bool>("modules");
        QTest::addColumn<bool>("checked"); // the version is one the extension was checked against
        QTest::newRow("43, legacy imports") << 43 << false << true;
        QTest::newRow("44, legacy imports") << 44 << false << true;
        QTest::newRow("45, ES modules") << 45 << true << true;
        QTest::newRow("46") << 46 << true << true;
        QTest::newRow("49") << 49 << true << true;
        QTest::newRow("50") << 50 << true << true;
        QTest::newRow("51, newer than checked") << 51 << true << false;
    }

    void loadsAsItsShellLoadsIt()
    {
        QFETCH(int, shellVersion);
        QFETCH(bool, modules);
        QFETCH(bool, checked);
        const QString folder = m_dir.filePath(QStringLiteral("extension-%1").arg(shellVersion));
        const Finished made = run(QStringLiteral("cmake"),
            {QStringLiteral("-DSHELL_VERSION=%1").arg(shellVersion), QStringLiteral("-DOUTPUT=") + folder,
                QStringLiteral("-P"), QStringLiteral(FRAMEWRIGHT_EXTENSION_CMAKE)});
        QVERIFY2(made.status == 0, qPrintable(made.out));
        QCOMPARE(made.out.contains(QLatin1String("Warning")), !checked);

        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
            (QStringList {QStringLiteral("extension.js"), QStringLiteral("metadata.json")}));
        QFile file(QDir(folder).filePath(QStringLiteral("metadata.json")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonObject metadata = QJsonDocument::fromJson(file.readAll()).object();
        QCOMPARE(metadata[QLatin1String("uuid")].toString(), QStringLiteral(FRAMEWRIGHT_GNOME_EXTENSION_UUID));
        QStringList versions;
        for (const QJsonValue &version : metadata[QLatin1String("shell-version")].toArray()) {
            versions << version.toString();
            // A shell of the other module style cannot load this variant: it must not claim it.
            QCOMPARE(version.toString().toInt() >= 45, modules);
        }
        QVERIFY2(versions.contains(QString::number(shellVersion)), qPrintable(versions.join(u' ')));

        const QString loaders = QStringLiteral(FRAMEWRIGHT_EXTENSION_LOADERS);
        const Finished loaded = modules
            ? run(QStringLiteral("gjs"),
                {QStringLiteral("-m"), loaders + QStringLiteral("/loadmodule.js"), m_shellModules, folder})
            : run(QStringLiteral("gjs"),
                {loaders + QStringLiteral("/loadlegacy.js"), loaders + QStringLiteral("/legacy"), folder});
        QVERIFY2(loaded.status == 0 && loaded.out.trimmed().endsWith(QLatin1String("loaded")), qPrintable(loaded.out));
    }

private:
    QTemporaryDir m_dir;
    QString m_shellModules;
};

QTEST_GUILESS_MAIN(GnomeExtensionTest)
#include "gnomeextension_test.moc"
