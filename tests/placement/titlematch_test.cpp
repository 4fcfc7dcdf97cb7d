// Matching window titles against saved entries' titles, as plain text and as regular expressions.
#include "placement/titlematch.h"

#include <QTest>

class TitleMatchTest : public QObject
{
    Q_OBJECT

private slots:
    void matches_data()
    {
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<bool>("isRegex");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("match");
        QTest::newRow("plain: part of the title") << "Notepad" << false << "Untitled - Notepad" << true;
        QTest::newRow("plain: other case") << "Notepad" << false << "NOTEPAD++ settings" << true;
        QTest::newRow("plain: not with a blank inside") << "Notepad" << false << "Note pad" << false;
        QTest::newRow("plain: regular-expression characters are literal") << "a.c" << false << "abc" << false;
        QTest::newRow("plain: non-ASCII case folding")
            << QString::fromUtf8("ärger") << false << QString::fromUtf8("Viel ÄRGER - Mail") << true;
        QTest::newRow("plain: Cyrillic case folding")
            << QString::fromUtf8("документ") << false << QString::fromUtf8("ДОКУМЕНТ 1") << true;
        QTest::newRow("regex: anchored at the start") << "^Untitled" << true << "Untitled - Notepad" << true;
        QTest::newRow("regex: not at the start") << "^Untitled" << true << "Document - Untitled" << false;
        QTest::newRow("regex: case counts by default") << "notepad" << true << "Untitled - Notepad" << false;
        QTest::newRow("regex: inline case-insensitive") << "(?i)notepad" << true << "Untitled - Notepad" << true;
        QTest::newRow("regex: UTF-8 bytes of the title")
            << QString::fromUtf8("^Ärger") << true << QString::fromUtf8("Ärger im Büro") << true;
        QTest::newRow("regex: does not compile") << "(Notepad" << true << "(Notepad" << false;
        QTest::newRow("regex: too complex for the engine's budget")
            << "(a|aa)*c" << true << QString(255, QLatin1Char('a')) << false;
    }

    void matches()
    {
        QFETCH(QString, wanted);
        QFETCH(bool, isRegex);
        QFETCH(QString, title);
        QFETCH(bool, match);
        QCOMPARE(titleMatches(wanted, isRegex, title), match);
    }
};

QTEST_APPLESS_MAIN(TitleMatchTest)
#include "titlematch_test.moc"
