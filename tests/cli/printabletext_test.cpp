// The escaped form in which the command line writes titles, descriptions and messages to a terminal: what is
// escaped and what is left as it is, that nothing a terminal acts on survives, and that the form reads back to the
// text it stands for, for every UTF-16 code unit.
#include "terminaltext.h"

#include "settings/settingstext.h"

#include <QTest>

class PrintableTextTest : public QObject
{
    Q_OBJECT

private slots:
    void escapes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("escaped");
        QTest::newRow("plain title") << "Untitled - Notepad"
                                     << "Untitled - Notepad";
        QTest::newRow("letters of any script, and beyond the BMP")
            << QString::fromUtf8("Café ☕ 日本語 עברית 😀") << QString::fromUtf8("Café ☕ 日本語 עברית 😀");
        QTest::newRow("backslash doubled") << "C:\\dir\\x1b"
                                           << "C:\\\\dir\\\\x1b";
        QTest::newRow("ESC and CSI clearing the screen") << "\x1b[2J\x1b[31mred"
                                                         << "\\x1b[2J\\x1b[31mred";
        QTest::newRow("OSC 52 writing the clipboard") << "\x1b]52;c;ZXZpbA==\x07"
                                                      << "\\x1b]52;c;ZXZpbA==\\x07";
        QTest::newRow("CR, LF, TAB, NUL, DEL")
            << QString::fromLatin1("a\rb\nc\td\0e\x7f", 10) << "a\\x0db\\x0ac\\x09d\\x00e\\x7f";
        QTest::newRow("C1: CSI, NEL, APC") << QStringView(u"\u009b2J\u0085\u009f").toString() << "\\x9b2J\\x85\\x9f";
        QTest::newRow("no-break space after C1 kept")
            << QStringView(u"a\u00a0b").toString() << QStringView(u"a\u00a0b").toString();
        QTest::newRow("line and paragraph separators")
            << QStringView(u"a\u2028b\u2029c").toString() << "a\\u2028b\\u2029c";
        QTest::newRow("bidirectional override, isolate, marks")
            << QStringView(u"\u202egnp.exe\u2066x\u2069\u200f\u061c").toString()
            << "\\u202egnp.exe\\u2066x\\u2069\\u200f\\u061c";
        QTest::newRow("zero-width joiner kept (not a layout control)")
            << QStringView(u"a\u200db").toString() << QStringView(u"a\u200db").toString();
    }

    void escapes()
    {
        QFETCH(QString, text);
        QFETCH(QString, escaped);
        QCOMPARE(printableSettingsText(text), escaped);
        QCOMPARE(readBackEscaped(escaped), std::optional<QString>(text));
    }

    // Each code unit alone and all of them in one string: nothing a terminal acts on is left, and the escaped form
    // reads back to the text, so adjacent escapes and literal backslashes never run together.
    void everyCodeUnitReadsBack()
    {
        QString all;
        for (char32_t u = 0; u <= 0xFFFF; ++u) {
            if (u >= 0xD800 && u <= 0xDFFF) {
                continue;
            }
            const QString text {QChar(char16_t(u))};
            const QString escaped = printableSettingsText(text);
            QVERIFY2(std::none_of(escaped.begin(), escaped.end(), [](QChar c) { return actsOnTerminal(c.unicode()); }),
                qPrintable(QString::number(int(u), 16)));
            QCOMPARE(readBackEscaped(escaped), std::optional<QString>(text));
            all += text + u'\\';
        }
        QCOMPARE(readBackEscaped(printableSettingsText(all)), std::optional<QString>(all));
    }
};

QTEST_APPLESS_MAIN(PrintableTextTest)
#include "printabletext_test.moc"
