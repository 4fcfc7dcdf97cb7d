// Tests of the matcher: what each construct matches, as one table grouped by feature (row names
// begin with the feature), and the positions of the whole match and of the groups.
#include "programdump.h"
#include "regex/compiler.h"
#include "regex/matcher.h"
#include "regex/patternengine.h"

#include <QByteArray>
#include <QTest>

class MatcherTest : public QObject
{
    Q_OBJECT

private slots:
    void match_data();
    void match();
    void groups_data();
    void groups();
    void programReadByManyRuns();
    void runErrorsCarryNoPosition();
};

namespace {

void row(
    const char *name, const QByteArray &pattern, const char *modifiers, const QByteArray &subject, int start, int end)
{
    QTest::newRow(name) << pattern << QByteArray(modifiers) << subject << start << end;
}

void noMatch(const char *name, const QByteArray &pattern, const char *modifiers, const QByteArray &subject)
{
    row(name, pattern, modifiers, subject, -1, -1);
}

} // namespace

// start and end of the whole match, -1 when the pattern must not match.
void MatcherTest::match_data()
{
    QTest::addColumn<QByteArray>("pattern");
    QTest::addColumn<QByteArray>("modifiers");
    QTest::addColumn<QByteArray>("subject");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");

    row("literal: inside", "abc", "", "xxabcxx", 2, 5);
    row("literal: one character", "b", "", "abc", 1, 2);
    noMatch("literal: case matters by default", "ABC", "", "abc");
    row("literal: dot matches LF with s", "a.b", "", "a\nb", 0, 3);
    noMatch("literal: dot without s skips LF", "a.b", "-s", "a\nb");
    noMatch("literal: dot without s skips CR", "a.b", "-s", "a\rb");
    noMatch("literal: dot never matches the end", "a.", "", "a");
    row("literal: empty pattern part x*", "x*", "", "", 0, 0);
    noMatch("literal: x on empty text", "x", "", "");
    row("literal: escaped metacharacters", "\\.\\\\\\[\\{\\0", "", "a.\\[{0", 1, 6);
    row("literal: control escapes", "\\t\\n\\r\\f\\a\\e", "", "\t\n\r\f\a\x1b", 0, 6);
    row("literal: brace without bound", "a{,3}", "", "a{,3}", 0, 5);
    noMatch("literal: a{,3} is no bound", "a{,3}", "", "aaa");
    row("literal: brace at the start", "{2}", "", "x{2}", 1, 4);
    row("literal: unfinished bound is text", "a{2,x", "", "a{2,x", 0, 5);
    row("literal: ] and } are ordinary", "]}", "", "x]}", 1, 3);
    row("literal: UTF-8 bytes", "f\xc3\xa9te", "", "la f\xc3\xa9te", 3, 8);
    noMatch("literal: \\x00 never matches", "a\\x00", "", "a");
    row("hex: two digits and braces", "\\x41\\x{42}\\x{0043}\\x{a}", "", "ABC\n", 0, 4);
    row("hex: lower and upper case digits", "\\x4a\\x4A", "", "JJ", 0, 2);

    row("class: ] first is a member", "[]a]", "", "]", 0, 1);
    row("class: trailing dash", "[a-]", "", "-", 0, 1);
    row("class: leading dash", "[-a]", "", "x-", 1, 2);
    row("class: \\D is the letter D", "[\\D]", "", "D", 0, 1);
    noMatch("class: \\D is not a non-digit", "[\\D]", "", "x");
    row("class: dash after a range", "[a-c-e]", "", "-", 0, 1);
    noMatch("class: d is outside a-c-e", "[a-c-e]", "", "d");
    row("class: dash after \\d", "[\\d-z]", "", "-", 0, 1);
    noMatch("class: y is outside \\d-z", "[\\d-z]", "", "y");
    row("class: range end \\d makes dash a member", "[a-\\d]", "", "-", 0, 1);
    row("class: negated", "[^abc]", "", "abcd", 3, 4);
    noMatch("class: negated never matches the end", "[^a]", "", "");
    row("class: negated FullSet", "[^abcd]", "", "abcde", 4, 5);
    row("class: \\w inside", "[\\w]+", "", "ab_9 ", 0, 4);
    row("class: \\s inside", "[\\s]", "", "x\t", 1, 2);
    row("class: hex range", "[\\x30-\\x{39}]+", "", "ab123", 2, 5);
    row("class: with i both cases", "[a-z]+", "i", "Q", 0, 1);
    row("class: \\d", "\\d+", "", "ab123c", 2, 5);
    noMatch("class: \\D on digits", "\\D", "", "123");
    row("class: \\s\\S", "\\s\\S", "", "a b", 1, 3);
    row("class: \\W", "\\W", "", "ab!", 2, 3);
    row("class: \\w holds both cases under (?i)", "(?i)\\w+", "", "ABC", 0, 3);
    row("class: Cyrillic small range holds IO", "[\\xE0-\\xFF]", "", "\xb8", 0, 1);
    noMatch("class: without r no IO", "[\\xE0-\\xFF]", "-r", "\xb8");
    row("class: Cyrillic capital range holds IO", "[\\xC0-\\xDF]", "", "\xa8", 0, 1);
    row("class: reversed Cyrillic range holds both", "[\\xE0-\\xDF]+", "", "\xc5\xe5\xa8\xb8", 0, 4);

    row("quantifier: bound too few", "a{2,3}", "", "xaay", 1, 3);
    noMatch("quantifier: bound not reached", "a{2,3}", "", "a");
    row("quantifier: bound at most", "a{2,3}", "", "aaaa", 0, 3);
    row("quantifier: exact", "a{2}", "", "aaa", 0, 2);
    row("quantifier: open bound", "a{2,}", "", "aaaaa", 0, 5);
    row("quantifier: zero repetitions", "x{0}", "", "", 0, 0);
    row("quantifier: plus", "a+", "", "baaa", 1, 4);
    row("quantifier: lazy plus", "a+?", "", "aaa", 0, 1);
    row("quantifier: lazy star", "a*?", "", "aaa", 0, 0);
    row("quantifier: lazy star to b", "a*?b", "", "aaab", 0, 4);
    noMatch("quantifier: star then missing b", "a*b", "", "aaac");
    row("quantifier: lazy optional", "a??b", "", "ab", 0, 2);
    row("quantifier: optional absent", "a?", "", "b", 0, 0);
    row("quantifier: lazy bound", "a{2,4}?", "", "aaaa", 0, 2);
    row("quantifier: everything lazy without g", "a*", "-g", "aaa", 0, 0);
    row("quantifier: greedy dot star", ".*foo", "", "xfooyfoo", 0, 8);
    row("quantifier: lazy dot star", ".*?foo", "", "xfooyfoo", 0, 4);
    row("quantifier: group plus", "(ab)+", "", "xababab", 1, 7);
    row("quantifier: group lazy plus", "(ab)+?", "", "xababab", 1, 3);
    row("quantifier: group exact", "(ab){2}", "", "ababab", 0, 4);
    row("quantifier: group lazy open bound", "(ab){2,}?", "", "ababab", 0, 4);
    row("quantifier: group alternatives counted", "(a|b){3}", "", "abba", 0, 3);
    row("quantifier: group star then c", "(ab)*c", "", "ababc", 0, 5);
    row("quantifier: group lazy star then c", "(ab)*?c", "", "ababc", 0, 5);
    row("quantifier: group optional", "(ab)?c", "", "xc", 1, 2);
    row("quantifier: group lazy optional", "(ab)??c", "", "abc", 0, 3);
    row("quantifier: dot without s repeated", ".+", "-s", "ab\ncd", 0, 2);
    row("quantifier: nested plus", "(a+)+b", "", "aaab", 0, 4);
    row("quantifier: counted group in a bound", "(\\d{1,2}\\.){3}\\d{1,3}", "", "ip 10.0.0.255!", 3, 13);
    row("quantifier: lookahead char repeated", "a*ab", "", "aaab", 0, 4);
    row("quantifier: failed pass takes its count back", "^(a|ab){1,2}c", "", "abac", 0, 4);
    row("quantifier: lazy loop inside a counted loop", "^((a)*?b){2}$", "", "abab", 0, 4);
    row("quantifier: lazy loop inside a lazy loop", "^((ab)*?c)*?d", "", "abcabcd", 0, 7);
    row("quantifier: lazy optional group that can be empty", "(a?)??b", "", "ab", 0, 2);

    row("group: alternative backtracks", "(a|ab)c", "", "abc", 0, 3);
    row("group: alternatives and star", "(a|ab)(c|bcd)(d*)", "", "abcd", 0, 4);
    row("group: empty alternative", "(|a)b", "", "ab", 0, 2);
    row("group: top-level empty alternative", "a|", "", "b", 0, 0);
    row("backref: groups in reverse", "(a)(b)\\2\\1", "", "abba", 0, 4);
    noMatch("backref: unset group fails", "(a)?\\1", "", "b");
    row("backref: starred group", "(a*)b\\1", "", "aabaa", 0, 5);
    row("backref: case-insensitive", "(a)\\1", "i", "aA", 0, 2);
    noMatch("backref: case-sensitive", "(a)\\1", "", "aA");
    row("backref: star", "(a)\\1*", "", "aaaa", 0, 4);
    row("backref: plus over two characters", "(ab)\\1+", "", "abababx", 0, 6);
    row("backref: bound", "(x)\\1{2}", "", "xxxx", 0, 3);
    row("backref: lazy star", "(ab)\\1*?c", "", "ababc", 0, 5);
    row("backref: star of an empty group ends", "(a?)\\1*b", "", "b", 0, 1);
    row("backref: group star of an empty group ends", "(a?)(\\1)*b", "", "b", 0, 1);
    row("backref: group plus of an empty group ends", "(a?)(\\1)+b", "", "b", 0, 1);
    row("backref: lazy group star of an empty group ends", "(a?)(\\1)*?b", "", "b", 0, 1);
    row("backref: bound of an empty group", "(a?)\\1{3,5}b", "", "b", 0, 1);

    row("anchor: ^$ on the empty text", "^$", "", "", 0, 0);
    noMatch("anchor: ^ only at the start", "^abc", "", "xabc");
    noMatch("anchor: ^ without m ignores lines", "^b", "", "a\nb");
    noMatch("anchor: $ without m ignores lines", "a$", "", "a\nb");
    row("anchor: $ before CR LF with m", "a$", "m", "a\r\nb", 0, 1);
    row("anchor: ^ after CR LF with m", "^b", "m", "a\r\nb", 3, 4);
    noMatch("anchor: ^ not between CR and LF", "^\\n", "m", "a\r\nb");
    noMatch("anchor: $ not between CR and LF", "\\r$", "m", "a\r\nb");
    row("anchor: ^ after LF with m", "^b", "m", "a\nb", 2, 3);
    row("anchor: $ before CR with m", "a$", "m", "a\rb", 0, 1);
    noMatch("anchor: \\A ignores m", "\\Ab", "m", "a\nb");
    noMatch("anchor: \\Z ignores m", "a\\Z", "m", "a\nb");
    row("anchor: inline m before a separator", "(?m)$\\n", "", "a\nb", 1, 2);
    row("anchor: empty lines", "^$", "m", "a\n\nb", 2, 2);

    row("word: boundaries around a word", "\\bfoo\\b", "", "a foo b", 2, 5);
    noMatch("word: no boundary inside a word", "\\bfoo\\b", "", "afoo");
    row("word: not a boundary", "\\Bfoo", "", "afoo", 1, 4);
    noMatch("word: no boundary in the empty text", "\\b", "", "");
    row("word: no boundary is there in the empty text", "\\B", "", "", 0, 0);
    row("word: boundary at the end", "foo\\b", "", "foo", 0, 3);

    row("modifier: inline i", "(?i)ABC", "", "abc", 0, 3);
    row("modifier: inline upper-case letter", "(?I)abc", "", "ABC", 0, 3);
    row("modifier: i from the middle on", "a(?i)b", "", "aB", 0, 2);
    noMatch("modifier: i only after it", "A(?i)b", "", "aB");
    noMatch("modifier: ends with its group", "(a(?i)b)c", "", "aBC");
    row("modifier: holds inside its group", "(a(?i)b)c", "", "aBc", 0, 3);
    row("modifier: holds for later alternatives", "(?i)a|b", "", "B", 0, 1);
    noMatch("modifier: -s inline", "(?-s)a.b", "", "a\nb");
    row("modifier: inline m", "(?m)^b", "", "a\nb", 2, 3);
    row("modifier: inline -g", "(?-g)a+", "", "aaa", 0, 1);
    noMatch("modifier: set and cleared again", "(?i-i)A", "", "a");
    row("modifier: comment group", "(?#comment)abc", "", "abc", 0, 3);
    row("modifier: i by object", "ABC", "i", "abc", 0, 3);
    noMatch("modifier: bytes above 127 are not folded", "\\xE0", "i", "\xc0");

    row("extended: space skipped", "a b", "x", "ab", 0, 2);
    row("extended: comment to the line end", "a b # comment\nc", "x", "abc", 0, 3);
    noMatch("extended: comment does not swallow the next line", "a b # comment\nc", "x", "abx");
    row("extended: space in a class counts", "[ ]", "x", "a b", 1, 2);
    row("extended: escaped space counts", "a\\ b", "x", "a b", 0, 3);
    row("extended: tabs and line breaks", "a\tb\r\nc", "x", "abc", 0, 3);
    row("extended: inline", "(?x) a b ", "", "ab", 0, 2);
    row("extended: off keeps spaces", "a b", "", "a b", 0, 3);
}

void MatcherTest::match()
{
    QFETCH(QByteArray, pattern);
    QFETCH(QByteArray, modifiers);
    QFETCH(QByteArray, subject);
    QFETCH(int, start);
    QFETCH(int, end);

    TPatternEngine engine;
    applyModifiers(engine, modifiers.toStdString());
    engine.SetExpression(pattern.toStdString());
    QCOMPARE(engine.Exec(subject.toStdString()), start >= 0);
    QCOMPARE(engine.GroupStart(0), start);
    QCOMPARE(engine.GroupEnd(0), end);
}

// Group positions as "start,end" per group 1..n; "-" for a group that did not match.
void MatcherTest::groups_data()
{
    QTest::addColumn<QByteArray>("pattern");
    QTest::addColumn<QByteArray>("subject");
    QTest::addColumn<QString>("positions");

    QTest::newRow("two groups") << QByteArray("(a)(b)") << QByteArray("xab") << "1,2 2,3";
    QTest::newRow("optional group absent") << QByteArray("(a)(b)?(c)") << QByteArray("ac") << "0,1 - 1,2";
    QTest::newRow("last pass of a loop") << QByteArray("(a|b)*") << QByteArray("ab") << "1,2";
    QTest::newRow("lazy loop last pass") << QByteArray("(a|b)*?c") << QByteArray("abc") << "1,2";
    QTest::newRow("nested groups") << QByteArray("((a)(b(c)))") << QByteArray("abc") << "0,3 0,1 1,3 2,3";
    QTest::newRow("failed alternative leaves no trace") << QByteArray("(a)x|ay") << QByteArray("ay") << "-";
    QTest::newRow("group after backtracking") << QByteArray("(a+)(a)") << QByteArray("aaa") << "0,2 2,3";
    QTest::newRow("empty group") << QByteArray("a()b") << QByteArray("ab") << "1,1";
    QTest::newRow("fourteen groups") << QByteArray("(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)(m)(n)")
                                     << QByteArray("abcdefghijklmn")
                                     << "0,1 1,2 2,3 3,4 4,5 5,6 6,7 7,8 8,9 9,10 10,11 11,12 12,13 13,14";
}

void MatcherTest::groups()
{
    QFETCH(QByteArray, pattern);
    QFETCH(QByteArray, subject);
    QFETCH(QString, positions);

    TPatternEngine engine;
    engine.SetExpression(pattern.toStdString());
    QVERIFY(engine.Exec(subject.toStdString()));
    QStringList actual;
    for (int n = 1; n < TPatternEngine::kGroupCount && actual.size() < positions.count(' ') + 1; ++n) {
        actual << (engine.GroupStart(n) < 0
                ? QStringLiteral("-")
                : QStringLiteral("%1,%2").arg(engine.GroupStart(n)).arg(engine.GroupEnd(n)));
    }
    QCOMPARE(actual.join(' '), positions);
}

// A compiled program is only read: runs over different subjects fill the buffers their callers give.
void MatcherTest::programReadByManyRuns()
{
    const regex::Program program = regex::compile("(a+)(b)?c", {regex::kModS | regex::kModG, {13, 10}});
    const std::vector<uint8_t> bytes = program.bytes;
    regex::MatchScratch scratch;
    regex::Captures first;
    regex::Captures second;
    QVERIFY(regex::search(program, "xaac", 0, first, scratch));
    QVERIFY(regex::search(program, "abc", 0, second, scratch));
    QCOMPARE(first.start[1], 1);
    QCOMPARE(first.end[1], 3);
    QCOMPARE(first.start[2], -1);
    QCOMPARE(second.start[2], 1);
    QCOMPARE(second.end[0], 3);
    QVERIFY(!regex::search(program, "aab", 0, first, scratch));
    QCOMPARE(first.start[0], -1);
    QCOMPARE(first.start[1], -1);
    QCOMPARE(program.bytes, bytes);
}

void MatcherTest::runErrorsCarryNoPosition()
{
    std::string pattern = "^a";
    for (int level = 0; level < 11; ++level) {
        pattern = "(" + pattern + ")+?";
    }
    const regex::Program program = regex::compile(pattern, {regex::kModS | regex::kModG, {}});
    regex::MatchScratch scratch;
    regex::Captures captures;
    try {
        regex::search(program, "a", 0, captures, scratch);
        QFAIL("no error");
    } catch (const regex::Error &error) {
        QCOMPARE(error.code, regex::ErrorCode::LoopStackExceeded);
        QCOMPARE(error.position, -1);
    }
}

QTEST_GUILESS_MAIN(MatcherTest)
#include "matcher_test.moc"
