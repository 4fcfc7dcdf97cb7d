// Tests of the pattern compiler: golden program bytes, the start-position data, and the code,
// position and message of every compile error.
#include "programdump.h"
#include "regex/patternengine.h"

#include <QTest>

#include <string>

class CompilerTest : public QObject
{
    Q_OBJECT

private slots:
    void goldenProgram_data();
    void goldenProgram();
    void startData_data();
    void startData();
    void compileError_data();
    void compileError();
    void accepted_data();
    void accepted();
    void programTooBig();
    void failedCompileLeavesNoProgram();
};

// Node layout in the dumps: opcode | link (int32 LE) | operand.
void CompilerTest::goldenProgram_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("modifiers");
    QTest::addColumn<QString>("program");

    QTest::newRow("abc: Branch, Literal, End") << "abc"
                                               << ""
                                               << "D8 | 06 0E000000 | 08 09000000 61626300 | 00 00000000";
    QTest::newRow("ab*: the star takes b alone")
        << "ab*"
        << ""
        << "D8 | 06 18000000 | 08 07000000 6100 | 0A 0C000000 | 08 00000000 6200 | 00 00000000";
    QTest::newRow("ab*c") << "ab*c"
                          << ""
                          << "D8 | 06 1F000000 | 08 07000000 6100 | 0A 0C000000 | 08 00000000 6200 "
                             "| 08 07000000 6300 | 00 00000000";
    QTest::newRow("a*bcd") << "a*bcd"
                           << ""
                           << "D8 | 06 1A000000 | 0A 0C000000 | 08 00000000 6100 | 08 09000000 62636400 | 00 00000000";
    QTest::newRow("a*xy.zw") << "a*xy.zw"
                             << ""
                             << "D8 | 06 26000000 | 0A 0C000000 | 08 00000000 6100 | 08 08000000 787900 "
                                "| 03 05000000 | 08 08000000 7A7700 | 00 00000000";
    QTest::newRow("[abc]: TinySet") << "[abc]"
                                    << ""
                                    << "D8 | 06 0D000000 | 19 08000000 616263 | 00 00000000";
    QTest::newRow("[ab]: padded with the highest") << "[ab]"
                                                   << ""
                                                   << "D8 | 06 0D000000 | 19 08000000 616262 | 00 00000000";
    QTest::newRow("[a] with i: both cases") << "[a]"
                                            << "i"
                                            << "D8 | 06 0D000000 | 19 08000000 416161 | 00 00000000";
    QTest::newRow("[^a]: TinySetNot") << "[^a]"
                                      << ""
                                      << "D8 | 06 0D000000 | 1A 08000000 616161 | 00 00000000";
    QTest::newRow("[a-]: dash is a member") << "[a-]"
                                            << ""
                                            << "D8 | 06 0D000000 | 19 08000000 2D6161 | 00 00000000";
    QTest::newRow("[abcd]: FullSet")
        << "[abcd]"
        << ""
        << "D8 | 06 2A000000 | 1B 25000000 00000000 00000000 00000000 1E000000 00000000 00000000 00000000 "
           "00000000 | 00 00000000";
    QTest::newRow("[^abcd]: FullSet of the other 252")
        << "[^abcd]"
        << ""
        << "D8 | 06 2A000000 | 1B 25000000 FFFFFFFF FFFFFFFF FFFFFFFF E1FFFFFF FFFFFFFF FFFFFFFF FFFFFFFF "
           "FFFFFFFF | 00 00000000";
    QTest::newRow("(a)(b): groups 1 and 2")
        << "(a)(b)"
        << ""
        << "D8 | 06 31000000 | 28 05000000 | 06 0C000000 | 08 07000000 6100 | 37 05000000 "
           "| 29 05000000 | 06 0C000000 | 08 07000000 6200 | 38 05000000 | 00 00000000";
    QTest::newRow("(ab)*c: greedy loop over a group") << "(ab)*c"
                                                      << ""
                                                      << "D8"
                                                         " | 06 37000000"        // 1 Branch -> 56
                                                         " | 06 21000000"        // 6 Branch -> 39
                                                         " | 28 05000000"        // 11 Open 1 -> 16
                                                         " | 06 0D000000"        // 16 Branch -> 29
                                                         " | 08 08000000 616200" // 21 Literal ab -> 29
                                                         " | 37 05000000"        // 29 Close 1 -> 34
                                                         " | 07 E4FFFFFF"        // 34 Back -> 6
                                                         " | 06 05000000"        // 39 Branch -> 44
                                                         " | 09 05000000"        // 44 Empty -> 49
                                                         " | 08 07000000 6300"   // 49 Literal c -> 56
                                                         " | 00 00000000";       // 56 End
    QTest::newRow("(ab)*?c: lazy counted loop")
        << "(ab)*?c"
        << ""
        << "D8"
           " | 06 39000000"                                    // 1 Branch -> 58
           " | 17 1C000000"                                    // 6 LoopEntry -> 34
           " | 28 05000000 | 06 0D000000 | 08 08000000 616200" // 11 group
           " | 37 05000000"                                    // 29 Close 1 -> 34
           " | 21 11000000 00000000 FEFFFF7F E9FFFFFF"         // 34 LoopLazy 0..2147483646, body -23 -> 51
           " | 08 07000000 6300"                               // 51 Literal c -> 58
           " | 00 00000000";
    QTest::newRow("a{2,5}: Braces") << "a{2,5}"
                                    << ""
                                    << "D8 | 06 19000000 | 12 14000000 02000000 05000000 | 08 00000000 6100 "
                                       "| 00 00000000";
    QTest::newRow("a??: lazy optional is BracesLazy 0..1")
        << "a??"
        << ""
        << "D8 | 06 19000000 | 20 14000000 00000000 01000000 | 08 00000000 6100 | 00 00000000";
    QTest::newRow("a* without g: StarLazy") << "a*"
                                            << "-g"
                                            << "D8 | 06 11000000 | 1E 0C000000 | 08 00000000 6100 | 00 00000000";
    QTest::newRow("a{2,x: brace read as text")
        << "a{2,x"
        << ""
        << "D8 | 06 16000000 | 08 07000000 6100 | 08 0A000000 7B322C7800 | 00 00000000";
    QTest::newRow("\\d\\D\\1: Digit, NotDigit, BackRef")
        << "\\d\\D\\1"
        << ""
        << "D8 | 06 15000000 | 0C 05000000 | 0D 05000000 | 1C 06000000 01 | 00 00000000";
    QTest::newRow("^.$ with m and without s")
        << "^.$"
        << "m-s"
        << "D8 | 06 14000000 | 22 05000000 | 24 05000000 | 23 05000000 | 00 00000000";
    QTest::newRow("a|: empty alternative")
        << "a|"
        << ""
        << "D8 | 06 0C000000 | 08 11000000 6100 | 06 0A000000 | 09 05000000 | 00 00000000";
}

void CompilerTest::goldenProgram()
{
    QFETCH(QString, pattern);
    QFETCH(QString, modifiers);
    QFETCH(QString, program);

    TPatternEngine engine;
    compileWith(engine, pattern.toStdString(), modifiers.toStdString());
    QCOMPARE(hexDump(engine.programBytes()), hexDump(hexBytes(program.toStdString())));
}

void CompilerTest::startData_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("modifiers");
    QTest::addColumn<int>("startChar");
    QTest::addColumn<bool>("anchored");
    QTest::addColumn<QString>("requiredText");
    QTest::addColumn<QString>("startSet");

    QTest::newRow("abc") << "abc"
                         << "" << int('a') << false << ""
                         << "a";
    QTest::newRow("ab*c: first piece does not repeat") << "ab*c"
                                                       << "" << int('a') << false << ""
                                                       << "a";
    QTest::newRow("a*bcd") << "a*bcd"
                           << "" << 0 << false << "bcd"
                           << "ab";
    QTest::newRow("a*xy.zw: later of equal length") << "a*xy.zw"
                                                    << "" << 0 << false << "zw"
                                                    << "ax";
    QTest::newRow("(ab)*c") << "(ab)*c"
                            << "" << 0 << false << "c"
                            << "ac";
    QTest::newRow("(ab)*?c") << "(ab)*?c"
                             << "" << 0 << false << "c"
                             << "ac";
    QTest::newRow("(a*)bc: group begins with a repeat") << "(a*)bc"
                                                        << "" << 0 << false << "bc"
                                                        << "ab";
    QTest::newRow("^ab anchored") << "^ab"
                                  << "" << 0 << true << ""
                                  << "a";
    QTest::newRow("\\Aab anchored") << "\\Aab"
                                    << "" << 0 << true << ""
                                    << "a";
    QTest::newRow("^a|b not anchored") << "^a|b"
                                       << "" << 0 << false << ""
                                       << "ab";
    QTest::newRow("^a with m not anchored") << "^a"
                                            << "m" << 0 << false << ""
                                            << "a";
    QTest::newRow("LiteralCI gives both cases") << "abc"
                                                << "i" << 0 << false << ""
                                                << "Aa";
    QTest::newRow("x* can be empty") << "x*"
                                     << "" << 0 << false << ""
                                     << "all";
    QTest::newRow("x+ cannot") << "x+"
                               << "" << 0 << false << ""
                               << "x";
    QTest::newRow("x{0,2}y") << "x{0,2}y"
                             << "" << 0 << false << "y"
                             << "xy";
    QTest::newRow("word boundary is skipped") << "\\bfoo"
                                              << "" << 0 << false << ""
                                              << "f";
    QTest::newRow("alternatives") << "cat|dog|(emu)"
                                  << "" << 0 << false << ""
                                  << "cde";
    QTest::newRow("$ at the end: zero") << "$"
                                        << "" << 0 << false << "" << QString(QChar(0));
    QTest::newRow("inline m: $ also before separators") << "(?m)$"
                                                        << "" << 0 << false << "" << QString(QChar(0)) + "\n\r";
    QTest::newRow("digits") << "\\d"
                            << "" << 0 << false << ""
                            << "0123456789";
    QTest::newRow("[^abcd]") << "[^abcd]"
                             << "" << 0 << false << ""
                             << "all but abcd";
    QTest::newRow("back-reference: anything") << "(a)?\\1"
                                              << "" << 0 << false << ""
                                              << "all";
    QTest::newRow("lazy optional group that can be empty") << "(a?)??b"
                                                           << "" << 0 << false << ""
                                                           << "ab";
}

void CompilerTest::startData()
{
    QFETCH(QString, pattern);
    QFETCH(QString, modifiers);
    QFETCH(int, startChar);
    QFETCH(bool, anchored);
    QFETCH(QString, requiredText);
    QFETCH(QString, startSet);

    TPatternEngine engine;
    compileWith(engine, pattern.toStdString(), modifiers.toStdString());
    QCOMPARE(int(engine.StartChar()), startChar);
    QCOMPARE(engine.Anchored(), anchored);
    QCOMPARE(QString::fromStdString(engine.RequiredText()), requiredText);
    QCOMPARE(QString::fromLatin1(startSetText(engine)), startSet);
}

void CompilerTest::compileError_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("modifiers");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("position");

    QString fifteenGroups;
    for (int i = 0; i < 15; ++i) {
        fifteenGroups += "(a)";
    }
    QTest::newRow("102 fifteenth group") << fifteenGroups << "" << 102 << 43;
    QTest::newRow("103 open group at the end") << "("
                                               << "" << 103 << 1;
    QTest::newRow("103 after alternatives") << "(a|b"
                                            << "" << 103 << 4;
    QTest::newRow("104 unopened )") << "a)"
                                    << "" << 104 << 1;
    QTest::newRow("106 star on a group that can be empty") << "(a*)*"
                                                           << "" << 106 << 4;
    QTest::newRow("106 plus on an empty alternative") << "(a|)+"
                                                      << "" << 106 << 4;
    QTest::newRow("106 bound on an anchor") << "^{2}"
                                            << "" << 106 << 1;
    QTest::newRow("106 star on x{0}") << "(x{0})*"
                                      << "" << 106 << 6;
    QTest::newRow("106 plus on x{0,2}") << "(x{0,2})+"
                                        << "" << 106 << 8;
    QTest::newRow("106 star on a comment") << "(?#c)*"
                                           << "" << 106 << 5;
    QTest::newRow("106 star after skipped space") << "a *"
                                                  << "x" << 106 << 2;
    QTest::newRow("107 a**") << "a**"
                             << "" << 107 << 2;
    QTest::newRow("107 a{2}{3}") << "a{2}{3}"
                                 << "" << 107 << 4;
    QTest::newRow("107 a*??") << "a*??"
                              << "" << 107 << 3;
    QTest::newRow("108 \\xZZ") << "\\xZZ"
                               << "" << 108 << 2;
    QTest::newRow("108 in braces") << "\\x{1Z}"
                                   << "" << 108 << 4;
    QTest::newRow("109 reversed range") << "[z-a]"
                                        << "" << 109 << 4;
    QTest::newRow("109 Cyrillic range without r") << "[\\xE0-\\xDF]"
                                                  << "-r" << 109 << 10;
    QTest::newRow("110 class ends with \\") << "[\\"
                                            << "" << 110 << 2;
    QTest::newRow("110 range end \\ at the end") << "[a-\\"
                                                 << "" << 110 << 4;
    QTest::newRow("111 \\x at the end") << "\\x"
                                        << "" << 111 << 2;
    QTest::newRow("111 \\x4 at the end") << "\\x4"
                                         << "" << 111 << 3;
    QTest::newRow("111 \\x{ without }") << "\\x{41"
                                        << "" << 111 << 5;
    QTest::newRow("111 \\x{} without digits") << "\\x{}"
                                              << "" << 111 << 3;
    QTest::newRow("112 \\x{100}") << "\\x{100}"
                                  << "" << 112 << 5;
    QTest::newRow("113 unclosed class") << "[abc"
                                        << "" << 113 << 4;
    QTest::newRow("113 ] first is a member") << "[]"
                                             << "" << 113 << 2;
    QTest::newRow("115 star first") << "*a"
                                    << "" << 115 << 1;
    QTest::newRow("115 after |") << "a|+"
                                 << "" << 115 << 3;
    QTest::newRow("115 plus in a group") << "(+)"
                                         << "" << 115 << 2;
    QTest::newRow("116 trailing \\") << "ab\\"
                                     << "" << 116 << 3;
    QTest::newRow("122 nine digits as max") << "a{1,123456789}"
                                            << "" << 122 << 13;
    QTest::newRow("122 nine digits as min") << "a{123456789}"
                                            << "" << 122 << 11;
    QTest::newRow("124 max below min") << "a{3,2}"
                                       << "" << 124 << 5;
    QTest::newRow("125 unclosed comment") << "(?#abc"
                                          << "" << 125 << 6;
    QTest::newRow("127 unknown modifier") << "(?z)"
                                          << "" << 127 << 3;
    QTest::newRow("127 no non-capturing groups") << "(?:a)"
                                                 << "" << 127 << 4;
    QTest::newRow("127 no )") << "(?i"
                              << "" << 127 << 3;
    QTest::newRow("127 (? at the end") << "(?"
                                       << "" << 127 << 2;
}

void CompilerTest::compileError()
{
    QFETCH(QString, pattern);
    QFETCH(QString, modifiers);
    QFETCH(int, code);
    QFETCH(int, position);

    TPatternEngine engine;
    try {
        compileWith(engine, pattern.toStdString(), modifiers.toStdString());
        QFAIL("compiled");
    } catch (const EPatternEngine &error) {
        QCOMPARE(error.ErrorId, code);
        QCOMPARE(error.ErrorPos, position);
        const std::string expected = engine.ErrorMessage(code) + " (pos " + std::to_string(position) + ")";
        QCOMPARE(std::string(error.what()), expected);
    }
}

void CompilerTest::accepted_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("modifiers");

    QString fourteenGroups;
    for (int i = 0; i < 14; ++i) {
        fourteenGroups += "(a)";
    }
    QTest::newRow("fourteen groups") << fourteenGroups << "";
    QTest::newRow("optional group that can be empty") << "(a*)?"
                                                      << "";
    QTest::newRow("star on x{1,2}") << "(x{1,2})*"
                                    << "";
    QTest::newRow("brace at the start is text") << "{2}"
                                                << "";
    QTest::newRow("a{,3}: brace without a bound is text") << "a{,3}"
                                                          << "";
    QTest::newRow("empty inline modifiers") << "(?)(?-)a"
                                            << "";
    QTest::newRow("Cyrillic ranges with r") << "[\\xE0-\\xFF\\xC0-\\xDF][\\xE0-\\xDF]"
                                            << "";
    QTest::newRow("eight-digit bound") << "a{0,99999999}"
                                       << "";
    QTest::newRow("] and } outside a class") << "]}"
                                             << "";
    QTest::newRow("lazy optional on an anchor") << "^??a"
                                                << "";
}

void CompilerTest::accepted()
{
    QFETCH(QString, pattern);
    QFETCH(QString, modifiers);

    TPatternEngine engine;
    compileWith(engine, pattern.toStdString(), modifiers.toStdString());
    QVERIFY(!engine.programBytes().empty());
}

void CompilerTest::programTooBig()
{
    TPatternEngine engine;
    std::string pattern;
    for (int i = 0; i < 40000; ++i) {
        pattern += "\\w";
    }
    engine.SetExpression(pattern);
    try {
        engine.Exec("");
        QFAIL("compiled");
    } catch (const EPatternEngine &error) {
        QCOMPARE(error.ErrorId, 101);
        QVERIFY(error.ErrorPos > 0 && error.ErrorPos < int(pattern.size()));
    }
    QVERIFY(engine.programBytes().empty());

    engine.setModifierByIndex(6, true); // x: white space compiles to one node, yet the text is too long
    engine.SetExpression("a" + std::string(2 << 20, ' '));
    QVERIFY_THROWS_EXCEPTION(EPatternEngine, engine.Exec(""));
}

void CompilerTest::failedCompileLeavesNoProgram()
{
    TPatternEngine engine;
    compileWith(engine, "abc", "");
    QVERIFY(!engine.programBytes().empty());
    engine.SetExpression("(");
    QVERIFY_THROWS_EXCEPTION(EPatternEngine, engine.Exec("x"));
    QVERIFY(engine.programBytes().empty());
    QCOMPARE(engine.ErrorPosition(), 0);
    engine.SetExpression("b");
    QVERIFY(engine.Exec("abc"));
}

QTEST_GUILESS_MAIN(CompilerTest)
#include "compiler_test.moc"
