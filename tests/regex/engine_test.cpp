// Tests of the pattern engine object: its properties, modifiers, runs from an offset, the line
// pair, PatternMatches, and the errors it raises with their texts.
#include "programdump.h"
#include "regex/patternengine.h"

#include <QTest>

#include <string>

class EngineTest : public QObject
{
    Q_OBJECT

private slots:
    void patternMatches_data();
    void patternMatches();
    void execAtOffset();
    void runErrors_data();
    void runErrors();
    void emptyExpressionDropsProgram();
    void sameExpressionKeepsProgram();
    void modifierChangeRecompiles();
    void modifierByIndex();
    void applyModifierLetters_data();
    void applyModifierLetters();
    void linePairedSeparator();
    void linePairedSeparatorErrors_data();
    void linePairedSeparatorErrors();
    void messages_data();
    void messages();
    void overriddenMessageIsRaised();
    void zeroByteEndsTexts();
    void elevenNestedLoops();
    void loopsInSequenceDoNotAddUp();
};

void EngineTest::patternMatches_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("matches");

    QTest::newRow("literal inside") << "abc"
                                    << "xxabcxx" << true;
    QTest::newRow("anchored at the start only") << "^abc"
                                                << "xabc" << false;
    QTest::newRow("case matters by default") << "ABC"
                                             << "abc" << false;
    QTest::newRow("inline i") << "(?i)ABC"
                              << "abc" << true;
    QTest::newRow("typical title") << "^Mozilla Firefox$|- Mozilla Firefox$"
                                   << "Inbox - Mozilla Firefox" << true;
}

void EngineTest::patternMatches()
{
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(bool, matches);
    QCOMPARE(PatternMatches(pattern.toStdString(), text.toStdString()), matches);
}

void EngineTest::execAtOffset()
{
    TPatternEngine engine;
    engine.SetExpression("abc");
    QVERIFY(engine.Exec("abcabc"));
    QCOMPARE(engine.GroupStart(0), 0);
    QVERIFY(engine.ExecAt(2));
    QCOMPARE(engine.GroupStart(0), 3);
    QCOMPARE(engine.GroupEnd(0), 6);
    QVERIFY(!engine.ExecAt(5));
    QCOMPARE(engine.GroupStart(0), -1);
    QVERIFY(!engine.ExecAt(8)); // beyond the end plus one: no error

    engine.SetExpression("x*");
    QVERIFY(engine.ExecAt(7)); // the end of the text
    QCOMPARE(engine.GroupStart(0), 6);
    QCOMPARE(engine.GroupEnd(0), 6);

    engine.SetExpression("^a");
    QVERIFY(!engine.ExecAt(4)); // ^ is the start of the text, not of the run
}

void EngineTest::runErrors_data()
{
    QTest::addColumn<bool>("setExpression");
    QTest::addColumn<bool>("exec");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("code");

    QTest::newRow("no expression") << false << true << 1 << 1003;
    QTest::newRow("no input") << true << false << 1 << 1005;
    QTest::newRow("offset 0") << true << true << 0 << 1006;
    QTest::newRow("negative offset") << true << true << -3 << 1006;
}

void EngineTest::runErrors()
{
    QFETCH(bool, setExpression);
    QFETCH(bool, exec);
    QFETCH(int, offset);
    QFETCH(int, code);

    TPatternEngine engine;
    if (setExpression) {
        engine.SetExpression("a");
    }
    try {
        if (exec) {
            engine.Exec("abc");
        }
        engine.ExecAt(offset);
        QFAIL("no error");
    } catch (const EPatternEngine &error) {
        QCOMPARE(error.ErrorId, code);
        QCOMPARE(error.ErrorPos, 0);
        QCOMPARE(std::string(error.what()), engine.ErrorMessage(code));
    }
}

void EngineTest::emptyExpressionDropsProgram()
{
    TPatternEngine engine;
    engine.SetExpression("a");
    QVERIFY(engine.Exec("a"));
    engine.SetExpression("");
    QVERIFY(engine.programBytes().empty());
    QCOMPARE(engine.Expression(), std::string());
    try {
        engine.Exec("a");
        QFAIL("no error");
    } catch (const EPatternEngine &error) {
        QCOMPARE(error.ErrorId, 1003);
        QCOMPARE(std::string(error.what()), std::string("TPatternEngine(exec): Not Assigned Expression Property"));
    }
}

void EngineTest::sameExpressionKeepsProgram()
{
    TPatternEngine engine;
    engine.SetExpression("abc");
    QVERIFY(engine.Exec("abc"));
    const std::vector<uint8_t> program = engine.programBytes();
    engine.SetExpression("abc");
    QCOMPARE(engine.programBytes(), program);
    QCOMPARE(engine.Expression(), std::string("abc"));
    engine.SetExpression("abd");
    QVERIFY(engine.programBytes().empty());
}

void EngineTest::modifierChangeRecompiles()
{
    TPatternEngine engine;
    engine.SetExpression("ABC");
    QVERIFY(!engine.Exec("abc"));
    engine.setModifierByIndex(1, true);
    QVERIFY(engine.Exec("abc"));
    engine.SetModifiers(engine.Modifiers() & ~1u);
    QVERIFY(!engine.Exec("abc"));
}

void EngineTest::modifierByIndex()
{
    TPatternEngine engine;
    QCOMPARE(engine.Modifiers(), 2u | 4u | 8u);
    const bool defaults[] = {false, true, true, true, false, false};
    for (int index = 1; index <= 6; ++index) {
        QCOMPARE(engine.modifierByIndex(index), defaults[index - 1]);
        engine.setModifierByIndex(index, !defaults[index - 1]);
        QCOMPARE(engine.modifierByIndex(index), !defaults[index - 1]);
    }
    QCOMPARE(engine.Modifiers(), 1u | 16u | 32u);
    for (const int index : {0, 7, -1}) {
        try {
            engine.modifierByIndex(index);
            QFAIL("no error");
        } catch (const EPatternEngine &error) {
            QCOMPARE(error.ErrorId, 1013);
            QCOMPARE(std::string(error.what()), std::string("Unknown error"));
        }
        QVERIFY_THROWS_EXCEPTION(EPatternEngine, engine.setModifierByIndex(index, true));
    }
}

void EngineTest::applyModifierLetters_data()
{
    QTest::addColumn<QString>("letters");
    QTest::addColumn<uint>("before");
    QTest::addColumn<uint>("after");
    QTest::addColumn<bool>("result");

    QTest::newRow("empty changes nothing") << "" << 14u << 14u << true;
    QTest::newRow("set i") << "i" << 14u << 15u << true;
    QTest::newRow("upper case") << "IM" << 0u << 17u << true;
    QTest::newRow("clear s") << "-s" << 14u << 10u << true;
    QTest::newRow("set then clear") << "ix-sg" << 14u << 35u << true;
    QTest::newRow("no way back to set mode") << "-i-x" << 47u << 14u << true;
    QTest::newRow("unknown letter stops, earlier stay") << "iq-s" << 14u << 15u << false;
    QTest::newRow("dash alone") << "-" << 14u << 14u << true;
}

void EngineTest::applyModifierLetters()
{
    QFETCH(QString, letters);
    QFETCH(uint, before);
    QFETCH(uint, after);
    QFETCH(bool, result);

    uint32_t set = before;
    QCOMPARE(TPatternEngine::ApplyModifierLetters(letters.toStdString(), set), result);
    QCOMPARE(uint(set), after);
}

void EngineTest::linePairedSeparator()
{
    TPatternEngine engine;
    engine.setModifierByIndex(5, true);
    engine.SetExpression("^\\n");
    QVERIFY(!engine.Exec("a\r\nb")); // between the characters of the pair

    engine.SetLinePairedSeparator("");
    QVERIFY(engine.Exec("a\r\nb")); // without a pair CR is a separator like any other
    QCOMPARE(engine.GroupStart(0), 2);

    engine.SetLinePairedSeparator("ab");
    engine.SetExpression("^c");
    QVERIFY(engine.Exec("xabc"));
    QCOMPARE(engine.GroupStart(0), 3);
    engine.SetExpression("x$");
    QVERIFY(engine.Exec("xab"));
    engine.setModifierByIndex(3, false);
    engine.SetExpression("x.b");
    QVERIFY(!engine.Exec("xab")); // . does not match the head of a pair
}

void EngineTest::linePairedSeparatorErrors_data()
{
    QTest::addColumn<QString>("pair");
    QTest::newRow("one character") << "a";
    QTest::newRow("equal characters") << "aa";
    QTest::newRow("three characters") << "abc";
}

void EngineTest::linePairedSeparatorErrors()
{
    QFETCH(QString, pair);
    TPatternEngine engine;
    try {
        engine.SetLinePairedSeparator(pair.toStdString());
        QFAIL("no error");
    } catch (const EPatternEngine &error) {
        QCOMPARE(error.ErrorId, 128);
        QCOMPARE(error.ErrorPos, 0);
        QCOMPARE(std::string(error.what()), engine.ErrorMessage(128) + " (pos 0)");
    }
}

void EngineTest::messages_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");

    QTest::newRow("0") << 0 << "No errors";
    QTest::newRow("103") << 103 << "TPatternEngine(comp): ParseReg Unmatched ()";
    QTest::newRow("104 same as 103") << 104 << "TPatternEngine(comp): ParseReg Unmatched ()";
    QTest::newRow("110") << 110 << "TPatternEngine(comp): Parse Atom Trailing \\";
    QTest::newRow("128")
        << 128 << "TPatternEngine(comp): LinePairedSeparator must countain two different chars or no chars at all";
    QTest::newRow("1013 unknown") << 1013 << "Unknown error";
    QTest::newRow("1014") << 1014 << "TPatternEngine(exec): Loop Stack Exceeded";
    QTest::newRow("1016 guard") << 1016 << "TPatternEngine(exec): Match Too Complex";
    QTest::newRow("2000") << 2000 << "TPatternEngine(misc): Bad p-code imported";
    QTest::newRow("9999 unknown") << 9999 << "Unknown error";
}

void EngineTest::messages()
{
    QFETCH(int, code);
    QFETCH(QString, message);
    QCOMPARE(QString::fromStdString(TPatternEngine().ErrorMessage(code)), message);
}

namespace {

class GermanEngine : public TPatternEngine
{
public:
    std::string ErrorMessage(int code) const override
    {
        return code == 103 ? "Klammer fehlt" : TPatternEngine::ErrorMessage(code);
    }
};

} // namespace

void EngineTest::overriddenMessageIsRaised()
{
    GermanEngine engine;
    engine.SetExpression("(a");
    try {
        engine.Exec("a");
        QFAIL("no error");
    } catch (const EPatternEngine &error) {
        QCOMPARE(std::string(error.what()), std::string("Klammer fehlt (pos 2)"));
        QCOMPARE(error.ErrorPos, 2);
    }
}

void EngineTest::zeroByteEndsTexts()
{
    using namespace std::string_literals;
    TPatternEngine engine;
    engine.SetExpression("c");
    QVERIFY(!engine.Exec("ab\0c"s));
    engine.SetExpression("b$");
    QVERIFY(engine.Exec("ab\0c"s));
    engine.SetExpression("a\0zzz"s);
    QCOMPARE(engine.Expression(), std::string("a"));
    QVERIFY(engine.Exec("xa"));
}

namespace {

// Lazy loops over groups, `depth` levels deep, each needing one pass.
std::string nestedLazyLoops(int depth)
{
    std::string pattern = "a";
    for (int level = 0; level < depth; ++level) {
        pattern = "(" + pattern + ")+?";
    }
    return "^" + pattern + "b";
}

} // namespace

void EngineTest::elevenNestedLoops()
{
    QVERIFY(PatternMatches(nestedLazyLoops(10), "ab"));
    try {
        PatternMatches(nestedLazyLoops(11), "ab");
        QFAIL("no error");
    } catch (const EPatternEngine &error) {
        QCOMPARE(error.ErrorId, 1014);
        QCOMPARE(std::string(error.what()), std::string("TPatternEngine(exec): Loop Stack Exceeded"));
    }
}

void EngineTest::loopsInSequenceDoNotAddUp()
{
    std::string pattern;
    for (int i = 0; i < 12; ++i) {
        pattern += "(a)*?";
    }
    QVERIFY(PatternMatches(pattern + "b", "aab"));
}

QTEST_GUILESS_MAIN(EngineTest)
#include "engine_test.moc"
