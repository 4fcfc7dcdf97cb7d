// Tests of the matcher's bounds: catastrophic patterns give the right answer (a run keeps the states
// it failed from), or end with error 1016 where a back-reference rules that out; legitimate matches
// over a 64 KiB subject never reach the budget.
#include "regex/patternengine.h"

#include <QTest>

#include <string>

class GuardTest : public QObject
{
    Q_OBJECT

private slots:
    void catastrophic_data();
    void catastrophic();
    void legitimateLongMatch_data();
    void legitimateLongMatch();
    void engineUsableAfterGuard();
};

namespace {

constexpr int kLongSubject = 64 * 1024;

std::string repeated(std::string_view unit, int count)
{
    std::string text;
    text.reserve(unit.size() * static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        text += unit;
    }
    return text;
}

} // namespace

void GuardTest::catastrophic_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QByteArray>("subject");
    QTest::addColumn<bool>("matches");
    // a back-reference, or quadratic work on a 64 KiB subject: the budget may end the run
    QTest::addColumn<bool>("mayGiveUp");

    const QByteArray as5000(5000, 'a');
    QTest::newRow("(a|aa)*c on 5000 a") << "(a|aa)*c" << as5000 << false << false;
    QTest::newRow("(a|aa)*(b|c) on 5000 a") << "(a|aa)*(b|c)" << as5000 << false << false;
    QTest::newRow("((a+)+)+b") << "((a+)+)+b" << QByteArray(40, 'a') << false << false;
    QTest::newRow("((a+)+)+(b|c)") << "((a+)+)+(b|c)" << QByteArray(40, 'a') << false << false;
    QTest::newRow("(x+x+)+y") << "(x+x+)+y" << QByteArray(60, 'x') << false << false;
    QTest::newRow("(a+)+$ before a stop") << "(a+)+$" << QByteArray(40, 'a') + "!" << false << false;
    QTest::newRow("words with spaces to the end")
        << "^(\\w+\\s?)+$" << QByteArray("Mozilla Firefox Private Browsing Window Title Here!") << false << false;
    QTest::newRow("nested plus on a 255-byte title") << "^(a+)+$" << QByteArray(254, 'a') + "!" << false << false;
    QTest::newRow("nested plus without g") << "(?-g)^(a+)+$" << QByteArray(254, 'a') + "!" << false << false;
    QTest::newRow("nested lazy loops") << "((a+?)+?)+?(b|c)" << QByteArray(40, 'a') << false << false;
    QTest::newRow("nested lazy loops on a 254-byte title")
        << "((a+?)+?)+?(b|c)" << QByteArray(254, 'a') << false << false;
    QTest::newRow("nested counted loops on a 255-byte title")
        << "^((a{1,3}){1,50}){1,50}$" << QByteArray(254, 'a') + "!" << false << false;
    QTest::newRow("nested counted loops, lazy")
        << "^((a{1,3}?){1,50}?){1,50}?$" << QByteArray(60, 'a') + "!" << false << false;
    QTest::newRow("nested counted loops, lazy, on a 255-byte title")
        << "^((a{1,3}?){1,50}?){1,50}?$" << QByteArray(254, 'a') + "!" << false << false;
    QTest::newRow("nested counted loops, lazy, maxima too low for a 254-byte title")
        << "^((a{1,3}?){1,9}?){1,9}?$" << QByteArray(254, 'a') << false << false;
    QTest::newRow("nested counted loops, maxima too low for a 254-byte title")
        << "^((a{1,3}){1,9}){1,9}$" << QByteArray(254, 'a') << false << false;
    QTest::newRow("nested counted loops, maxima just enough for a 243-byte title")
        << "^((a{1,3}){1,9}){1,9}$" << QByteArray(243, 'a') << true << false;
    QTest::newRow("nested counted loops, lazy, maxima just enough for a 243-byte title")
        << "^((a{1,3}?){1,9}?){1,9}?$" << QByteArray(243, 'a') << true << false;
    QTest::newRow("counted loops over alternatives, maxima too low")
        << "^((ab|a){2,7}){1,9}x$" << QByteArray(repeated("ab", 126).c_str()) + "x" << false << false;
    QTest::newRow("counted loops over alternatives, lazy, maxima too low")
        << "^((ab|a){2,7}?){1,9}?x$" << QByteArray(repeated("ab", 126).c_str()) + "x" << false << false;
    QTest::newRow("unanchored lazy counted loop, the match far in")
        << "(a{1,4}?b?){1,40}?c" << QByteArray(254, 'a') + "c" << true << false;
    QTest::newRow("unanchored lazy counted loop, the optional piece's character once in the title")
        << "(a{1,4}?b?){1,40}?c" << QByteArray(253, 'a') + "bc" << true << false;
    QTest::newRow("unanchored counted loop, the match far in")
        << "(a{1,4}b?){1,40}c" << QByteArray(254, 'a') + "c" << true << false;
    QTest::newRow("nested counted loops matching a 254-byte title")
        << "^((a{1,3}){1,50}){1,50}$" << QByteArray(254, 'a') << true << false;
    QTest::newRow("nested counted loops over an optional piece whose character stands once")
        << "^((a{1,3}b?){1,9}){1,9}$" << QByteArray(253, 'a') + "b" << false << false;
    QTest::newRow("nested counted loops over a repetition of a character that stands once")
        << "^((a{1,3}b*){1,9}){1,9}$" << QByteArray(253, 'a') + "b" << false << false;
    QTest::newRow("back-reference loop") << "(a?)(\\1|a)*b" << QByteArray(40, 'a') << false << false;
    QTest::newRow("back-reference loop on a 255-byte title, a stop before the last character")
        << "(a?)(\\1|a)*b" << QByteArray(253, 'a') + "!b" << true << false;
    QTest::newRow("back-reference loop whose group takes the stop")
        << "(.?)(\\1|a)*b" << QByteArray(40, 'a') + "!b" << true << false;
    QTest::newRow("back-reference loop whose group takes the stop, on a 255-byte title")
        << "(.?)(\\1|a)*b" << QByteArray(253, 'a') + "!b" << true << false;
    QTest::newRow("lazy back-reference loop whose group takes the stop, on a 255-byte title")
        << "(.?)(\\1|a)*?b" << QByteArray(253, 'a') + "!b" << true << false;
    QTest::newRow("counted back-reference loop whose group takes the stop, on a 255-byte title")
        << "(.?)(\\1|a){0,300}b" << QByteArray(253, 'a') + "!b" << true << false;
    QTest::newRow("back-reference loop in a loop, on a 255-byte title")
        << "(.?)((\\1|a)+)+b" << QByteArray(253, 'a') + "!b" << true << false;
    QTest::newRow("back-reference after a loop") << "^(a|aa)+\\1$" << QByteArray(60, 'a') + "!" << false << false;
    QTest::newRow("back-reference after a loop on a 255-byte title")
        << "^(a|aa)+\\1$" << QByteArray(254, 'a') + "!" << false << false;
    QTest::newRow("quadratic dot stars") << "x.*y.*z" << QByteArray(repeated("xy", kLongSubject / 2).c_str()) << false
                                         << true;
    QTest::newRow("many alternatives on a long text")
        << "(a|b|ab|ba)*c$" << QByteArray(repeated("ab", kLongSubject / 2).c_str()) << false << false;
}

void GuardTest::catastrophic()
{
    QFETCH(QString, pattern);
    QFETCH(QByteArray, subject);
    QFETCH(bool, matches);
    QFETCH(bool, mayGiveUp);

    try {
        QCOMPARE(PatternMatches(pattern.toStdString(), subject.toStdString()), matches);
    } catch (const EPatternEngine &error) {
        QVERIFY(mayGiveUp);
        QCOMPARE(error.ErrorId, 1016);
        QCOMPARE(std::string(error.what()), std::string("TPatternEngine(exec): Match Too Complex"));
    }
}

void GuardTest::legitimateLongMatch_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QByteArray>("subject");
    QTest::addColumn<int>("end");

    const QByteArray as(kLongSubject, 'a');
    const QByteArray abs(repeated("ab", kLongSubject / 2).c_str());
    QTest::newRow("loop over a group") << "^(a)*$" << as << kLongSubject;
    QTest::newRow("loop over nested groups") << "^((a)|b)*$" << as << kLongSubject;
    QTest::newRow("lazy loop over a group") << "^(ab)*?c" << abs + "c" << kLongSubject + 1;
    QTest::newRow("counted loop") << "^(ab){1,40000}$" << abs << kLongSubject;
    QTest::newRow("alternatives in a loop") << "^(a|b)+$" << abs << kLongSubject;
    QTest::newRow("dot star with backtracking") << "^.*b.*a$" << abs + "a" << kLongSubject + 1;
    QTest::newRow("back-reference repeated") << "^(ab)\\1*$" << abs << kLongSubject;
    QTest::newRow("search to the end") << "(ab)+c" << abs + "c" << kLongSubject + 1;
}

void GuardTest::legitimateLongMatch()
{
    QFETCH(QString, pattern);
    QFETCH(QByteArray, subject);
    QFETCH(int, end);

    TPatternEngine engine;
    engine.SetExpression(pattern.toStdString());
    QVERIFY(engine.Exec(subject.toStdString()));
    QCOMPARE(engine.GroupEnd(0), end);
}

void GuardTest::engineUsableAfterGuard()
{
    TPatternEngine engine;
    engine.SetExpression("(x+x+)+y");
    const std::string subject(100, 'x');
    try {
        engine.Exec(subject);
    } catch (const EPatternEngine &error) {
        QCOMPARE(error.ErrorId, 1016);
    }
    QVERIFY(engine.Exec(subject + "y"));
    QCOMPARE(engine.GroupStart(0), 0);
}

QTEST_GUILESS_MAIN(GuardTest)
#include "guard_test.moc"
