// Tests of cParameters: loading a section with its defaults, and the fifteen keys written when it is discarded.
#include "entries/cparameters.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "entryvalues.h"
#include "filebytes.h"
#include "settings/settingsfile.h"

namespace {

const cParameters kDefaults(QStringLiteral("Entry"), nullptr);

} // namespace

class cParametersTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void loadDefaults_data();
    void loadDefaults();
    void loadValues();
    void saveAllDefaultsWritesFifteenKeys();
    void roundTrip_data();
    void roundTrip();
    void descriptionsDifferingInCaseShareSection();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void cParametersTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(QStringLiteral("KTZ.ini"));
}

void cParametersTest::loadDefaults_data()
{
    QTest::addColumn<bool>("withSettings");
    QTest::addColumn<QByteArray>("content"); // null: no file

    QTest::newRow("no settings file object") << false << QByteArray("[Entry]\nTitle=t\nScreenIndex=2\n");
    QTest::newRow("missing file") << true << QByteArray();
    QTest::newRow("missing section") << true << QByteArray("[Other]\nTitle=t\nScreenIndex=2\n");
    QTest::newRow("unreadable values")
        << true
        << QByteArray("[Entry]\nRegex=true\nScreenIndex=12abc\nHorzIndex=\nHorzValue=0x\nHorzPx=yes\nVertIndex=$\n"
                      "VertValue=2147483648\nVertPx=on\nWidthValue=1.5\nWidthPx=-\nHeightValue=--1\nHeightPx=x\n"
                      "Maximized=true\nSelected=T\n");
}

void cParametersTest::loadDefaults()
{
    QFETCH(bool, withSettings);
    QFETCH(QByteArray, content);
    if (!content.isNull()) {
        writeAll(m_path, content);
    }
    const SettingsFile settings(m_path);
    const cParameters entry(QStringLiteral("Entry"), withSettings ? &settings : nullptr);
    QCOMPARE(entryFields(entry), entryFields(kDefaults));
}

void cParametersTest::loadValues()
{
    writeAll(m_path,
        "[other]\nTitle=wrong\n"
        "[HALF left]\nTitle = \"  Editor - \" \nRegex=2\nScreenIndex=1\nHorzIndex=$2\nHorzValue=-50\n"
        "HorzPx=1\nVertIndex=0x1\nVertValue=+7\nVertPx=0\nWidthValue=50\nWidthPx=0\nHeightValue=100\n"
        "HeightPx=1\nMaximized=1\nSelected=1\n");
    const SettingsFile settings(m_path);
    const cParameters entry(QStringLiteral("Half Left"), &settings);
    QCOMPARE(entryFields(entry),
        (QStringList {
            "Half Left", "  Editor - ", "1", "1", "2", "1", "-50", "7", "50", "100", "1", "0", "0", "1", "1", "1"}));
}

void cParametersTest::saveAllDefaultsWritesFifteenKeys()
{
    SettingsFile settings(m_path);
    kDefaults.save(&settings);
    kDefaults.save(nullptr); // no settings file: nothing to write to
    settings.save();
    QCOMPARE(readAll(m_path),
        QByteArray("[Entry]\nTitle=\nRegex=0\nScreenIndex=0\nHorzIndex=0\nHorzValue=0\n"
                   "HorzPx=0\nVertIndex=0\nVertValue=0\nVertPx=0\nWidthValue=0\nWidthPx=0\n"
                   "HeightValue=0\nHeightPx=0\nMaximized=0\nSelected=0\n"));
}

void cParametersTest::roundTrip_data()
{
    QTest::addColumn<cParameters>("entry");
    QTest::addColumn<QString>("expectedTitle");

    cParameters preset = entryWith(QStringLiteral("1024 x 768 Center"), QString(), false, 0, 1, 1, 0, 0, 1024, 768,
        false, false, true, true, false);
    QTest::newRow("preset") << preset << QString();

    cParameters extremes
        = entryWith(QStringLiteral("Extr\u00EAmes \U0001F600"), QStringLiteral("^Fen\u00EAtre [0-9]+$"), true, -1, 2, 2,
            int(0x80000000), 2147483647, -100, 32767, true, true, false, false, true);
    extremes.Selected = true;
    QTest::newRow("extremes and non-ASCII text") << extremes << extremes.Title;

    const cParameters longTitle = entryWith(
        QStringLiteral("Long"), QString(3000, u't'), false, 0, 0, 0, 0, 0, 0, 0, false, false, false, false, false);
    QTest::newRow("title cut to 2047 characters") << longTitle << QString(2047, u't');
}

void cParametersTest::roundTrip()
{
    QFETCH(cParameters, entry);
    QFETCH(QString, expectedTitle);
    {
        SettingsFile settings(m_path);
        entry.save(&settings);
        settings.save();
    }
    const SettingsFile settings(m_path);
    cParameters expected = entry;
    expected.Title = expectedTitle;
    QCOMPARE(entryFields(cParameters(entry.Description, &settings)), entryFields(expected));
}

void cParametersTest::descriptionsDifferingInCaseShareSection()
{
    SettingsFile settings(m_path);
    cParameters first = entryWith(QStringLiteral("Half Left"), QStringLiteral("first"), false, 0, 0, 0, 0, 0, 50, 100,
        false, false, false, false, false);
    cParameters second = entryWith(QStringLiteral("HALF LEFT"), QStringLiteral("second"), true, 1, 0, 0, 0, 0, 50, 100,
        false, false, false, false, true);
    first.save(&settings);
    second.save(&settings);
    settings.save();

    const QByteArray content = readAll(m_path);
    QCOMPARE(content.count("[Half Left]"), 1);
    QCOMPARE(content.count("[HALF LEFT]"), 0);
    QCOMPARE(content.count("Title="), 1);
    const cParameters loaded(QStringLiteral("half left"), &settings);
    QCOMPARE(loaded.Title, QStringLiteral("second"));
    QVERIFY(loaded.Regex && loaded.placement.maximized);
}

QTEST_GUILESS_MAIN(cParametersTest)
#include "cparameters_test.moc"
