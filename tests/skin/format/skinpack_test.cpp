// Tests of the packer: which entries it refuses, the order of a folder's files, packages that open with
// the reader again, and the skinpack command line (output, messages, exit codes).
#include "packagewriter.h"
#include "skin/format/skinreader.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using Bytes = std::vector<uint8_t>;
using Entries = std::vector<skinpack::PackageEntry>;
Q_DECLARE_METATYPE(Entries)

class SkinPackTest : public QObject
{
    Q_OBJECT

private slots:
    void entriesProblem_data();
    void entriesProblem();
    void folderOrder();
    void folderProblems_data();
    void folderProblems();
    void packedEntriesOpen();
    void commandLine_data();
    void commandLine();
};

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

struct Run
{
    int exitCode = -1;
    QString output;
    QString errors;
};

Run runSkinpack(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(SKINPACK_PATH), arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
        QString::fromLocal8Bit(process.readAllStandardOutput()),
        QString::fromLocal8Bit(process.readAllStandardError())};
}

} // namespace

void SkinPackTest::entriesProblem_data()
{
    QTest::addColumn<Entries>("entries");
    QTest::addColumn<QString>("problem"); // a part of the message; empty: no problem

    QTest::newRow("no entries") << Entries {} << "";
    QTest::newRow("ordinary names") << Entries {{"skin.ini", {1}}, {"Frame.bmp", {}}} << "";
    QTest::newRow("empty name") << Entries {{"", {1}}} << "no name";
    QTest::newRow("line break in a name") << Entries {{"a\r\nb", {}}} << "line break";
    QTest::newRow("folder in a name") << Entries {{"images/a.bmp", {}}} << "folder separator";
    QTest::newRow("names equal but for case") << Entries {{"Top.bmp", {}}, {"top.BMP", {}}} << "not unique";
    QTest::newRow("1001 entries") << Entries(1001, {"x", {}}) << "not unique";
    QTest::newRow("1002 entries") << Entries(1002, {"x", {}}) << "more than the 1001";
    QTest::newRow("unpacked image over the limit")
        << Entries {{"big.bmp", Bytes(static_cast<size_t>(TSkinReader::kMaxUnpackedBytes) - 20)}} << "limit";
}

void SkinPackTest::entriesProblem()
{
    QFETCH(Entries, entries);
    QFETCH(QString, problem);
    const QString found = QString::fromStdString(skinpack::entriesProblem(entries));
    if (problem.isEmpty()) {
        QCOMPARE(found, QString());
    } else {
        QVERIFY2(found.contains(problem), qPrintable(found));
    }
}

void SkinPackTest::folderOrder()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    for (const char *name : {"menu.bmp", "Skin.INI", "Button.BMP", "notes.txt", "about.ini", "arrow.bmp"}) {
        writeFile(folder.filePath(name), name);
    }
    QVERIFY(QDir(folder.path()).mkdir("sub.bmp"));

    std::string error;
    const Entries entries = skinpack::readSkinFolder(folder.path().toStdString(), &error);
    QCOMPARE(QString::fromStdString(error), QString());
    QStringList names;
    for (const skinpack::PackageEntry &entry : entries) {
        names << QString::fromStdString(entry.name);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(entry.bytes.data()), qsizetype(entry.bytes.size())),
            names.back().toLatin1());
    }
    QCOMPARE(names, (QStringList {"about.ini", "Skin.INI", "arrow.bmp", "Button.BMP", "menu.bmp"}));
}

void SkinPackTest::folderProblems_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("problem");

    QTest::newRow("missing folder") << QStringList {"-"} << "is not a folder";
    QTest::newRow("bitmaps without a description") << QStringList {"a.bmp"} << "no description file";
}

void SkinPackTest::folderProblems()
{
    QFETCH(QStringList, files);
    QFETCH(QString, problem);
    QTemporaryDir temporary;
    QString folder = temporary.path();
    for (const QString &file : files) {
        if (file == "-") {
            folder = temporary.filePath("missing");
        } else {
            writeFile(temporary.filePath(file), "x");
        }
    }
    std::string error;
    QVERIFY(skinpack::readSkinFolder(folder.toStdString(), &error).empty());
    QVERIFY2(QString::fromStdString(error).contains(problem), error.c_str());
}

void SkinPackTest::packedEntriesOpen()
{
    Entries entries {{"Skin.ini", {'[', 'a', ']'}}, {"empty.bmp", {}}};
    Bytes large(300000);
    for (size_t i = 0; i < large.size(); ++i) {
        large[i] = static_cast<uint8_t>((i / 3) % 251 * (i % 3 + 1));
    }
    entries.push_back({"Large.BMP", large});

    const Bytes image = skinpack::unpackedImage(entries);
    TSkinReader reader;
    QVERIFY(reader.open(skinpack::compressImage(image)));
    QCOMPARE(reader.names(), (std::vector<std::string> {"skin.ini", "empty.bmp", "large.bmp"}));
    QCOMPARE(reader.sizes(), (std::vector<int32_t> {3, 0, 300000}));
    for (const skinpack::PackageEntry &entry : entries) {
        QCOMPARE(reader.extract(entry.name), entry.bytes);
    }
    // Header words 8..15 are written as zeros.
    QCOMPARE(Bytes(image.begin() + 8, image.begin() + 16), Bytes(8, 0));
}

void SkinPackTest::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments"); // {folder} and {out} are replaced
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");       // expected standard output; "*" for anything
    QTest::addColumn<QString>("message");      // a part of standard error
    QTest::addColumn<QByteArray>("extracted"); // the content of {out} afterwards, when not empty

    QTest::newRow("list") << QStringList {"list", "{folder}/skin.skn"} << 0
                          << "skin.ini   6\ntitle.bmp  4\nzero.bmp   0\n"
                          << "" << QByteArray();
    QTest::newRow("extract with capitals")
        << QStringList {"extract", "{folder}/skin.skn", "TITLE.bmp", "{out}"} << 0 << ""
        << "" << QByteArray("BM\x01\x02", 4);
    QTest::newRow("extract an absent entry")
        << QStringList {"extract", "{folder}/skin.skn", "menu.bmp", "{out}"} << 1 << ""
        << "no entry named menu.bmp" << QByteArray();
    QTest::newRow("list a missing file") << QStringList {"list", "{folder}/none.skn"} << 1 << ""
                                         << "cannot open" << QByteArray();
    QTest::newRow("list a file that is no package") << QStringList {"list", "{folder}/skin/skin.ini"} << 1 << ""
                                                    << "exceeds the limit" << QByteArray();
    QTest::newRow("pack a folder without a description") << QStringList {"pack", "{folder}/empty", "{out}"} << 1 << ""
                                                         << "no description file" << QByteArray();
    QTest::newRow("unknown command") << QStringList {"unpack", "x"} << 2 << ""
                                     << "usage:" << QByteArray();
    QTest::newRow("missing argument") << QStringList {"list"} << 2 << ""
                                      << "usage:" << QByteArray();
}

void SkinPackTest::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QFETCH(QString, message);
    QFETCH(QByteArray, extracted);

    QTemporaryDir temporary;
    QDir(temporary.path()).mkdir("skin");
    QDir(temporary.path()).mkdir("empty");
    writeFile(temporary.filePath("skin/skin.ini"), "[Form]");
    writeFile(temporary.filePath("skin/Title.bmp"), QByteArray("BM\x01\x02", 4));
    writeFile(temporary.filePath("skin/zero.bmp"), QByteArray());
    const Run packed = runSkinpack({"pack", temporary.filePath("skin"), temporary.filePath("skin.skn")});
    QCOMPARE(packed.exitCode, 0);
    QVERIFY2(packed.output.startsWith("packed 3 entries"), qPrintable(packed.output));

    const QString out = temporary.filePath("out.bin");
    for (QString &argument : arguments) {
        argument.replace("{folder}", temporary.path()).replace("{out}", out);
    }
    const Run run = runSkinpack(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.output, output);
    if (message.isEmpty()) {
        QCOMPARE(run.errors, QString());
    } else {
        QVERIFY2(run.errors.contains(message), qPrintable(run.errors));
    }
    if (!extracted.isEmpty()) {
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), extracted);
    }
}

QTEST_GUILESS_MAIN(SkinPackTest)
#include "skinpack_test.moc"
