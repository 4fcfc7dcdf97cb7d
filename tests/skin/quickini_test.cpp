// Tests of TQuickIni (lines, section lookup, first-match keys, integers, sections) and of colour triples.
#include "skin/format/quickini.h"

#include <QTest>

namespace {

QString qs(const std::string &text)
{
    return QString::fromLatin1(text);
}

std::string text(const QByteArray &bytes)
{
    return std::string(bytes.constData(), size_t(bytes.size()));
}

QStringList toList(const std::vector<std::string> &lines)
{
    QStringList list;
    for (const std::string &line : lines) {
        list.append(qs(line));
    }
    return list;
}

} // namespace

class QuickIniTest : public QObject
{
    Q_OBJECT

private slots:
    void lines_data();
    void lines();
    void readString_data();
    void readString();
    void readInteger_data();
    void readInteger();
    void readSections();
    void loadReplacesContent();
    void colourTriple_data();
    void colourTriple();
};

void QuickIniTest::lines_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("crlf") << QByteArray("a=1\r\nb=2\r\n") << QStringList {"a=1", "b=2"};
    QTest::newRow("lone lf") << QByteArray("a=1\nb=2") << QStringList {"a=1", "b=2"};
    QTest::newRow("lone cr") << QByteArray("a=1\rb=2\r") << QStringList {"a=1", "b=2"};
    QTest::newRow("nul ends a line") << QByteArray("a=1\0b=2", 7) << QStringList {"a=1", "b=2"};
    QTest::newRow("lf cr is two ends") << QByteArray("a=1\n\rb=2") << QStringList {"a=1", "b=2"};
    QTest::newRow("trimmed, tabs and blanks") << QByteArray("  a = 1 \t\r\n\t[S]  ") << QStringList {"a = 1", "[S]"};
    QTest::newRow("empty and blank lines dropped") << QByteArray("\r\n\r\n   \r\nx\r\n\r\n") << QStringList {"x"};
    QTest::newRow("comment lines dropped")
        << QByteArray("; c\r\n  ;indented\r\nk=v ; not a comment") << QStringList {"k=v ; not a comment"};
    QTest::newRow("no text") << QByteArray() << QStringList {};
    QTest::newRow("8-bit bytes kept") << QByteArray("k=\xe4\xff") << QStringList {QString::fromLatin1("k=\xe4\xff")};
}

void QuickIniTest::lines()
{
    QFETCH(QByteArray, input);
    QFETCH(QStringList, expected);
    TQuickIni ini;
    ini.load(text(input));
    QCOMPARE(toList(ini.lines()), expected);
}

void QuickIniTest::readString_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected"); // the default is "def"

    const QByteArray basic("[Buttons]\r\nBitmap=button.bmp\r\n[Other]\r\nBitmap=other.bmp\r\n");
    QTest::newRow("plain") << basic << "Buttons"
                           << "Bitmap"
                           << "button.bmp";
    QTest::newRow("second section") << basic << "Other"
                                    << "Bitmap"
                                    << "other.bmp";
    QTest::newRow("header in lower case, request in mixed case") << QByteArray("[buttons]\r\nbitmap=b.bmp") << "BuTtOnS"
                                                                 << "Bitmap"
                                                                 << "b.bmp";
    QTest::newRow("key in capitals in the text") << QByteArray("[S]\r\nFRAME=5") << "S"
                                                 << "Frame"
                                                 << "5";
    QTest::newRow("blanks inside the brackets: never found") << QByteArray("[ S ]\r\nk=v") << "S"
                                                             << "k"
                                                             << "def";
    QTest::newRow("blanks inside the brackets: found only with the same blanks") << QByteArray("[ S ]\r\nk=v") << " S "
                                                                                 << "k"
                                                                                 << "v";
    QTest::newRow("first line wins") << QByteArray("[S]\r\nk=one\r\nk=two") << "S"
                                     << "k"
                                     << "one";
    QTest::newRow("first line wins even when empty") << QByteArray("[S]\r\nk=\r\nk=two") << "S"
                                                     << "k"
                                                     << "def";
    QTest::newRow("first header wins") << QByteArray("[S]\r\na=1\r\n[s]\r\nk=v") << "S"
                                       << "k"
                                       << "def";
    QTest::newRow("key of the next section is not found") << QByteArray("[S]\r\na=1\r\n[T]\r\nk=v") << "S"
                                                          << "k"
                                                          << "def";
    QTest::newRow("key before any section is not found") << QByteArray("k=v\r\n[S]") << "S"
                                                         << "k"
                                                         << "def";
    QTest::newRow("value and key trimmed") << QByteArray("[S]\r\n  k \t=  v w  ") << "S"
                                           << "k"
                                           << "v w";
    QTest::newRow("split at the first equals sign") << QByteArray("[S]\r\nk=a=b") << "S"
                                                    << "k"
                                                    << "a=b";
    QTest::newRow("line without equals never matches") << QByteArray("[S]\r\nk\r\nk=v") << "S"
                                                       << "k"
                                                       << "v";
    QTest::newRow("key is compared whole") << QByteArray("[S]\r\nkey2=v") << "S"
                                           << "key"
                                           << "def";
    QTest::newRow("missing section") << basic << "Nothing"
                                     << "Bitmap"
                                     << "def";
    QTest::newRow("missing key") << basic << "Buttons"
                                 << "Frame"
                                 << "def";
    QTest::newRow("dotted section names") << QByteArray("[Trackbar.ThumbHorz]\r\nImage=t.bmp") << "trackbar.thumbhorz"
                                          << "image"
                                          << "t.bmp";
    QTest::newRow("header-like value is a value") << QByteArray("[S]\r\nk=[x]") << "S"
                                                  << "k"
                                                  << "[x]";
}

void QuickIniTest::readString()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    TQuickIni ini;
    ini.load(text(input));
    QCOMPARE(qs(ini.readString(section.toStdString(), key.toStdString(), "def")), expected);
}

void QuickIniTest::readInteger_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("expected"); // the default is -7

    QTest::newRow("decimal") << QByteArray("42") << 42;
    QTest::newRow("negative") << QByteArray("-1") << -1;
    QTest::newRow("plus sign") << QByteArray("+3") << 3;
    QTest::newRow("hexadecimal") << QByteArray("0x1F") << 31;
    QTest::newRow("hexadecimal, capital X") << QByteArray("0X1fffffff") << 0x1FFFFFFF;
    QTest::newRow("hexadecimal, all bits") << QByteArray("0xFFFFFFFF") << -1;
    QTest::newRow("0x alone is not a number") << QByteArray("0x") << -7;
    QTest::newRow("hexadecimal too long") << QByteArray("0x100000000") << -7;
    QTest::newRow("hexadecimal with a bad digit") << QByteArray("0x1G") << -7;
    QTest::newRow("largest") << QByteArray("2147483647") << 2147483647;
    QTest::newRow("smallest") << QByteArray("-2147483648") << int(-2147483647 - 1);
    QTest::newRow("overflow") << QByteArray("2147483648") << -7;
    QTest::newRow("long overflow") << QByteArray("99999999999999999999999") << -7;
    QTest::newRow("trailing letters") << QByteArray("12px") << -7;
    QTest::newRow("inner blank") << QByteArray("1 2") << -7;
    QTest::newRow("sign alone") << QByteArray("-") << -7;
    QTest::newRow("empty value") << QByteArray("") << -7;
    QTest::newRow("zero") << QByteArray("0") << 0;
    QTest::newRow("leading zeros") << QByteArray("007") << 7;
}

void QuickIniTest::readInteger()
{
    QFETCH(QByteArray, value);
    QFETCH(int, expected);
    TQuickIni ini;
    ini.load(text("[S]\r\nk=" + value));
    QCOMPARE(ini.readInteger("s", "K", -7), expected);
}

void QuickIniTest::readSections()
{
    TQuickIni ini;
    ini.load("k=v\r\n[First]\r\na=1\r\n[ Second ]\r\n[]\r\n[Third\r\n[COLOUR1]\r\n[First]");
    QCOMPARE(toList(ini.readSections()), (QStringList {"First", "Second", "", "COLOUR1", "First"}));
}

void QuickIniTest::loadReplacesContent()
{
    TQuickIni ini;
    ini.load("[A]\r\nk=1");
    ini.load("[B]\r\nk=2");
    QCOMPARE(ini.readInteger("A", "k", 0), 0);
    QCOMPARE(ini.readInteger("B", "k", 0), 2);
    QCOMPARE(toList(ini.readSections()), QStringList {"B"});
}

void QuickIniTest::colourTriple_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("given");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");

    QTest::newRow("blanks") << QByteArray("47 127 191") << true << 47 << 127 << 191;
    QTest::newRow("commas read the same") << QByteArray("47,127,191") << true << 47 << 127 << 191;
    QTest::newRow("comma and blank") << QByteArray("47, 127, 191") << true << 47 << 127 << 191;
    QTest::newRow("surrounding blanks") << QByteArray("  1 2 3  ") << true << 1 << 2 << 3;
    QTest::newRow("300 reads as 44") << QByteArray("300 0 0") << true << 44 << 0 << 0;
    QTest::newRow("long number keeps its low 8 bits") << QByteArray("4294967297 256 511") << true << 1 << 0 << 255;
    QTest::newRow("two numbers: the pending second is not taken") << QByteArray("10 20") << true << 10 << 0 << 0;
    QTest::newRow("two numbers, both ended") << QByteArray("10 20;") << true << 10 << 20 << 0;
    QTest::newRow("one number, pending at the end") << QByteArray("10") << true << 0 << 0 << 0;
    QTest::newRow("one number, ended") << QByteArray("10;") << true << 10 << 0 << 0;
    QTest::newRow("four numbers") << QByteArray("1 2 3 4") << true << 1 << 2 << 3;
    QTest::newRow("third ended by a separator") << QByteArray("1 2 3;") << true << 1 << 2 << 3;
    QTest::newRow("minus signs are separators") << QByteArray("-1 -2 -3") << true << 1 << 2 << 3;
    QTest::newRow("no digits is black") << QByteArray("white") << true << 0 << 0 << 0;
    QTest::newRow("leading text") << QByteArray("rgb(1,2,3)") << true << 1 << 2 << 3;
    QTest::newRow("empty gives the default") << QByteArray("") << false << 0 << 0 << 0;
    QTest::newRow("blank gives the default") << QByteArray(" \t ") << false << 0 << 0 << 0;
}

void QuickIniTest::colourTriple()
{
    QFETCH(QByteArray, value);
    QFETCH(bool, given);
    const std::optional<RgbTriple> colour = parseColourTriple(text(value));
    QCOMPARE(colour.has_value(), given);
    if (given) {
        QFETCH(int, red);
        QFETCH(int, green);
        QFETCH(int, blue);
        QCOMPARE(int(colour->red), red);
        QCOMPARE(int(colour->green), green);
        QCOMPARE(int(colour->blue), blue);
    }
}

QTEST_APPLESS_MAIN(QuickIniTest)
#include "quickini_test.moc"
