// Tests of TSkinReader: directory splitting, lookups by name and by containment, the committed corpora
// of valid and invalid packages (each invalid one named after the failure it must give).
#include "packagewriter.h"
#include "skin/format/lzh.h"
#include "skin/format/skinreader.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <map>

using Bytes = std::vector<uint8_t>;
Q_DECLARE_METATYPE(SkinReadError)

class SkinReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void directoryLines_data();
    void directoryLines();
    void extractByName_data();
    void extractByName();
    void extractFirstContaining_data();
    void extractFirstContaining();
    void entryLimit_data();
    void entryLimit();
    void dataAfterTheLastEntryIsIgnored();
    void validCorpus();
    void invalidCorpus_data();
    void invalidCorpus();
    void rejectionDropsEarlierEntries();
};

namespace {

void appendInt32(Bytes &bytes, int32_t value)
{
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> shift));
    }
}

// A package laid out by hand, so that the directory text can be anything.
Bytes package(const QByteArray &directory, const std::vector<Bytes> &entries, const Bytes &trailing = {})
{
    Bytes image;
    appendInt32(image, 20000);
    appendInt32(image, static_cast<int32_t>(directory.size()));
    appendInt32(image, 0);
    appendInt32(image, 0);
    image.insert(image.end(), directory.begin(), directory.end());
    for (const Bytes &entry : entries) {
        appendInt32(image, static_cast<int32_t>(entry.size()));
    }
    for (const Bytes &entry : entries) {
        image.insert(image.end(), entry.begin(), entry.end());
    }
    image.insert(image.end(), trailing.begin(), trailing.end());
    return skinpack::compressImage(image);
}

// Entry i holds i + 1 bytes of the letter 'a' + i.
std::vector<Bytes> numberedEntries(qsizetype count)
{
    std::vector<Bytes> entries;
    for (qsizetype i = 0; i < count; ++i) {
        entries.emplace_back(static_cast<size_t>(i + 1), static_cast<uint8_t>('a' + i % 26));
    }
    return entries;
}

TSkinReader openedReader(const Bytes &bytes)
{
    TSkinReader reader;
    if (!reader.open(bytes)) {
        qWarning("rejected: %s", reader.errorText().c_str());
    }
    return reader;
}

QStringList names(const TSkinReader &reader)
{
    QStringList list;
    for (const std::string &name : reader.names()) {
        list << QString::fromLatin1(name);
    }
    return list;
}

Bytes readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qFatal("cannot open %s", qPrintable(path));
    }
    const QByteArray bytes = file.readAll();
    return Bytes(bytes.begin(), bytes.end());
}

const std::vector<Bytes> kLookupEntries = numberedEntries(5);
const QByteArray kLookupDirectory = "skin.ini\r\nFrame.BMP\r\nmenu.bmp\r\nframe.bmp\r\nextra.ini\r\n";

} // namespace

void SkinReaderTest::directoryLines_data()
{
    QTest::addColumn<QByteArray>("directory");
    QTest::addColumn<QStringList>("names");

    const QStringList two {"a.bmp", "b.ini"};
    QTest::newRow("CR LF after every line") << QByteArray("a.bmp\r\nb.ini\r\n") << two;
    QTest::newRow("no final line break") << QByteArray("a.bmp\r\nb.ini") << two;
    QTest::newRow("lone LF") << QByteArray("a.bmp\nb.ini\n") << two;
    QTest::newRow("lone CR") << QByteArray("a.bmp\rb.ini\r") << two;
    QTest::newRow("mixed line ends") << QByteArray("a.bmp\rb.ini\nc\r\nd") << QStringList {"a.bmp", "b.ini", "c", "d"};
    QTest::newRow("LF CR ends two lines") << QByteArray("a\n\rb") << QStringList {"a", "", "b"};
    QTest::newRow("CR CR LF ends two lines") << QByteArray("a\r\r\nb") << QStringList {"a", "", "b"};
    QTest::newRow("an empty line is an entry") << QByteArray("a\r\n\r\nb\r\n") << QStringList {"a", "", "b"};
    QTest::newRow("only a line break") << QByteArray("\r\n") << QStringList {""};
    QTest::newRow("no directory at all") << QByteArray() << QStringList {};
    QTest::newRow("capitals lower-cased, other bytes kept") << QByteArray(
        "Skin.INI\r\nFRAME\xC4\xE9.Bmp") << QStringList {"skin.ini", QString::fromLatin1("frame\xC4\xE9.bmp")};
    QTest::newRow("blanks and NUL are part of a name")
        << QByteArray(" a b\0c ", 7) << QStringList {QString::fromLatin1(" a b\0c ", 7)};
}

void SkinReaderTest::directoryLines()
{
    QFETCH(QByteArray, directory);
    QFETCH(QStringList, names);
    const std::vector<Bytes> entries = numberedEntries(names.size());
    const TSkinReader reader = openedReader(package(directory, entries));

    QCOMPARE(reader.error(), SkinReadError::None);
    QCOMPARE(::names(reader), names);
    QCOMPARE(reader.sizes().size(), entries.size());
    for (qsizetype i = 0; i < names.size(); ++i) {
        QCOMPARE(reader.sizes()[i], static_cast<int32_t>(entries[i].size()));
    }
}

void SkinReaderTest::extractByName_data()
{
    QTest::addColumn<QString>("request");
    QTest::addColumn<int>("entry"); // -1: absent

    QTest::newRow("exact name") << "menu.bmp" << 2;
    QTest::newRow("request in capitals") << "MENU.BMP" << 2;
    QTest::newRow("stored in capitals, first of two equal names") << "frame.bmp" << 1;
    QTest::newRow("absent name") << "title.bmp" << -1;
    QTest::newRow("a prefix is not the name") << "frame" << -1;
    QTest::newRow("empty request") << "" << -1;
}

void SkinReaderTest::extractByName()
{
    QFETCH(QString, request);
    QFETCH(int, entry);
    const TSkinReader reader = openedReader(package(kLookupDirectory, kLookupEntries));
    QCOMPARE(reader.extract(request.toStdString()), entry < 0 ? Bytes() : kLookupEntries[entry]);
}

void SkinReaderTest::extractFirstContaining_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("entry"); // -1: none
    QTest::addColumn<QString>("name");

    QTest::newRow(".ini finds the first of two descriptions") << ".ini" << 0 << "skin.ini";
    QTest::newRow("bmp finds the first bitmap") << "bmp" << 1 << "frame.bmp";
    QTest::newRow("the text is not lower-cased") << ".INI" << -1 << "";
    QTest::newRow("no entry contains it") << ".png" << -1 << "";
    QTest::newRow("the empty text is in every name") << "" << 0 << "skin.ini";
}

void SkinReaderTest::extractFirstContaining()
{
    QFETCH(QString, text);
    QFETCH(int, entry);
    QFETCH(QString, name);
    const TSkinReader reader = openedReader(package(kLookupDirectory, kLookupEntries));
    std::string found = "stale";
    QCOMPARE(reader.extractFirstContaining(text.toStdString(), &found), entry < 0 ? Bytes() : kLookupEntries[entry]);
    QCOMPARE(QString::fromStdString(found), name);
}

void SkinReaderTest::entryLimit_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<SkinReadError>("error");

    QTest::newRow("1001 entries fill the table") << 1001 << SkinReadError::None;
    QTest::newRow("1002 entries are refused") << 1002 << SkinReadError::TooManyEntries;
}

void SkinReaderTest::entryLimit()
{
    QFETCH(int, entries);
    QFETCH(SkinReadError, error);
    QByteArray directory;
    for (int i = 0; i < entries; ++i) {
        directory += "e" + QByteArray::number(i) + ".bmp\r\n";
    }
    TSkinReader reader;
    QCOMPARE(reader.open(package(directory, std::vector<Bytes>(static_cast<size_t>(entries), Bytes {1, 2}))),
        error == SkinReadError::None);
    QCOMPARE(reader.error(), error);
    if (error == SkinReadError::None) {
        QCOMPARE(reader.extract("e1000.bmp"), (Bytes {1, 2}));
    }
}

void SkinReaderTest::dataAfterTheLastEntryIsIgnored()
{
    const TSkinReader reader = openedReader(package("a\r\nb\r\n", {{}, {7, 8}}, {9, 9, 9}));
    QCOMPARE(reader.error(), SkinReadError::None);
    QCOMPARE(reader.extract("a"), Bytes());
    QCOMPARE(reader.extract("b"), (Bytes {7, 8}));
}

void SkinReaderTest::validCorpus()
{
    // small.skn was packed from the folder small/; it pins the format against encoder and decoder
    // changing together.
    const QString folder = QStringLiteral(SKINFORMAT_CORPUS "/valid/small");
    std::string error;
    const std::vector<skinpack::PackageEntry> entries = skinpack::readSkinFolder(folder.toStdString(), &error);
    QVERIFY2(error.empty(), error.c_str());
    const TSkinReader reader = openedReader(readFile(QStringLiteral(SKINFORMAT_CORPUS "/valid/small.skn")));
    QCOMPARE(reader.names().size(), entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        QCOMPARE(reader.names()[i], TSkinReader::lowerName(entries[i].name));
        QCOMPARE(reader.extract(entries[i].name), entries[i].bytes);
    }
    std::string description;
    QCOMPARE(reader.extractFirstContaining(".ini", &description), entries.front().bytes);
    QCOMPARE(description, std::string("skin.ini"));
}

void SkinReaderTest::invalidCorpus_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<SkinReadError>("error");

    const std::map<QString, SkinReadError> errors {
        {"empty", SkinReadError::Empty},
        {"truncated", SkinReadError::Truncated},
        {"badunpackedsize", SkinReadError::BadUnpackedSize},
        {"toolarge", SkinReadError::TooLarge},
        {"olderversion", SkinReadError::OlderVersion},
        {"baddirectory", SkinReadError::BadDirectory},
        {"toomanyentries", SkinReadError::TooManyEntries},
        {"badsizes", SkinReadError::BadSizes},
    };
    const QDir corpus(QStringLiteral(SKINFORMAT_CORPUS "/invalid"));
    const QStringList files = corpus.entryList({"*.skn"}, QDir::Files, QDir::Name);
    QVERIFY(static_cast<size_t>(files.size()) >= errors.size());
    for (const QString &file : files) {
        const auto found = errors.find(file.section('-', 0, 0).section('.', 0, 0));
        QVERIFY2(found != errors.end(), qPrintable("no failure named by " + file));
        QTest::newRow(qPrintable(file)) << corpus.filePath(file) << found->second;
    }
}

void SkinReaderTest::invalidCorpus()
{
    QFETCH(QString, path);
    QFETCH(SkinReadError, error);
    TSkinReader reader;
    QVERIFY(!reader.open(readFile(path)));
    QCOMPARE(reader.error(), error);
    QVERIFY(!reader.errorText().empty());
    QVERIFY(reader.names().empty());
    QCOMPARE(reader.extractFirstContaining(""), Bytes());
}

void SkinReaderTest::rejectionDropsEarlierEntries()
{
    TSkinReader reader;
    QVERIFY(reader.open(package("a\r\n", {{1}})));
    QVERIFY(!reader.open(readFile(QStringLiteral(SKINFORMAT_CORPUS "/invalid/olderversion-19999.skn"))));
    QVERIFY(reader.names().empty());
    QCOMPARE(reader.extract("a"), Bytes());
    QVERIFY(reader.open(package("b\r\n", {{2}})));
    QCOMPARE(reader.error(), SkinReadError::None);
    QVERIFY(reader.errorText().empty());
    QCOMPARE(::names(reader), QStringList {"b"});
}

QTEST_APPLESS_MAIN(SkinReaderTest)
#include "skinreader_test.moc"
