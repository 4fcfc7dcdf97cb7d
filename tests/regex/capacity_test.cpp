// Tests of the bound on what a state can still take: the widths of whole programs (the most
// characters a walk can take through them on a subject), and the least ends the viability map gives.
#include "regex/capacity.h"
#include "regex/compiler.h"
#include "regex/viability.h"

#include <QTest>

#include <string>

class CapacityTest : public QObject
{
    Q_OBJECT

private slots:
    void programWidth_data();
    void programWidth();
    void rareNodes_data();
    void rareNodes();
    void leastEnd_data();
    void leastEnd();
};

namespace {

regex::Program compiled(const QString &pattern)
{
    return regex::compile(pattern.toStdString(), {regex::kModR | regex::kModS | regex::kModG, {13, 10}});
}

} // namespace

void CapacityTest::programWidth_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QByteArray>("subject");
    QTest::addColumn<qint64>("width"); // -1: unbounded
    QTest::addColumn<bool>("bounded"); // a counted loop bounds its passes

    const QByteArray every("abcdefghijklmnopqrstuvwxyz0123456789");

    QTest::newRow("literals and classes") << "ab[cd]\\d." << every << qint64 {5} << false;
    QTest::newRow("the widest alternative") << "x(a|bcd|ef)y" << every << qint64 {5} << false;
    QTest::newRow("optional group") << "(ab)?c" << every << qint64 {3} << false;
    QTest::newRow("counted repetition") << "a{2,5}b" << every << qint64 {6} << false;
    QTest::newRow("lazy counted repetition") << "a{2,5}?b" << every << qint64 {6} << false;
    QTest::newRow("counted loop over alternatives") << "(ab|a){2,7}" << every << qint64 {14} << true;
    QTest::newRow("nested counted loops") << "^((a{1,3}){1,9}){1,9}$" << every << qint64 {243} << true;
    QTest::newRow("nested lazy counted loops") << "^((a{1,3}?){1,9}?){1,9}?$" << every << qint64 {243} << true;
    QTest::newRow("what follows a loop, in the pass around it") << "((ab){2}cd){3}e" << every << qint64 {19} << true;
    QTest::newRow("a loop of at most one pass") << "(abc){0,1}?d" << every << qint64 {4} << true;
    QTest::newRow("a loop of no pass") << "(abc){0}d" << every << qint64 {1} << false;
    QTest::newRow("widths past any subject")
        << "(((a{1,9999}){1,9999}){1,9999}){1,9999}" << every << qint64 {-1} << true;
    QTest::newRow("star") << "ab*c" << every << qint64 {-1} << false;
    QTest::newRow("open bound") << "a{2,}" << every << qint64 {-1} << false;
    QTest::newRow("loop over a group") << "(ab)+" << every << qint64 {-1} << false;
    QTest::newRow("lazy loop over a group") << "(ab)*?c" << every << qint64 {-1} << false;
    QTest::newRow("open counted loop") << "(ab){2,}" << every << qint64 {-1} << false;
    QTest::newRow("back-reference") << "(a)\\1" << every << qint64 {-1} << false;
    QTest::newRow("counted repetition of a back-reference") << "(a)\\1{2}" << every << qint64 {-1} << false;
    QTest::newRow("unbounded inside a counted loop") << "(ab*){3}" << QByteArray("abbbbbbb") << qint64 {-1} << false;
    QTest::newRow("unbounded inside a counted loop, over a rare character")
        << "(ab*){3}" << every << qint64 {-1} << true;
    QTest::newRow("optional piece whose character the subject lacks")
        << "(a{1,4}?b?){1,40}?c" << QByteArray("aaac") << qint64 {161} << true;
    QTest::newRow("optional piece whose character the subject holds")
        << "(a{1,4}?b?){1,40}?c" << QByteArray("abc") << qint64 {201} << true;
    QTest::newRow("alternatives whose characters the subject lacks")
        << "x(a|bcd|ef)y" << QByteArray("xayf") << qint64 {3} << false;
    QTest::newRow("case-insensitive literal") << "(?i)(ab|cd)e" << QByteArray("ABE") << qint64 {3} << false;
    QTest::newRow("repetition of a character the subject lacks")
        << "ab{0,5}c{0,2}" << QByteArray("ac") << qint64 {3} << false;
    QTest::newRow("loop that may make no pass") << "x(ab){0,5}y" << QByteArray("xay") << qint64 {2} << true;
    QTest::newRow("a way through a loop that must pass")
        << "x((ab){1,5}|a)y" << QByteArray("xay") << qint64 {3} << true;
}

void CapacityTest::programWidth()
{
    QFETCH(QString, pattern);
    QFETCH(QByteArray, subject);
    QFETCH(qint64, width);
    QFETCH(bool, bounded);

    regex::Capacity capacity;
    const auto *input = reinterpret_cast<const uint8_t *>(subject.constData());
    QCOMPARE(capacity.build(compiled(pattern), input, static_cast<int>(subject.size())), bounded);
    QCOMPARE(capacity.width(1), width < 0 ? regex::kUnboundedWidth : width);
}

// Widths without the rare nodes, whose characters rareLeft counts once for all passes.
void CapacityTest::rareNodes_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QByteArray>("subject");
    QTest::addColumn<qint64>("common"); // the width from the start without the rare nodes (all where none is)
    QTest::addColumn<qint64>("rareLeft");

    const QByteArray as(12, 'a');
    QTest::newRow("a piece whose character the subject lacks")
        << "^((a{1,3}b?){1,9}){1,9}$" << as + as << qint64 {243} << qint64 {0};
    QTest::newRow("an optional piece whose character stands once")
        << "^((a{1,3}b?){1,9}){1,9}$" << as + "b" + as << qint64 {243} << qint64 {1};
    QTest::newRow("a repetition of a character that stands twice") << "(a{1,2}b*){1,4}"
                                                                   << "b" + as + "b" << qint64 {8} << qint64 {2};
    QTest::newRow("a literal counted where it stands, overlaps too")
        << "(a|xyx){1,5}" << as + as + as + "xyxyx" << qint64 {5} << qint64 {6};
    QTest::newRow("a character that stands too often is not rare")
        << "(a{1,3}b?){1,4}" << QByteArray("abababab") << qint64 {16} << qint64 {0};
}

void CapacityTest::rareNodes()
{
    QFETCH(QString, pattern);
    QFETCH(QByteArray, subject);
    QFETCH(qint64, common);
    QFETCH(qint64, rareLeft);

    regex::Capacity capacity;
    const auto *input = reinterpret_cast<const uint8_t *>(subject.constData());
    capacity.build(compiled(pattern), input, static_cast<int>(subject.size()));
    QCOMPARE(capacity.width(1, regex::Counted::Common), common < 0 ? regex::kUnboundedWidth : common);
    QCOMPARE(capacity.rareLeft(0), rareLeft);
    QCOMPARE(capacity.rareLeft(static_cast<int>(subject.size())), qint64 {0});
}

void CapacityTest::leastEnd_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QByteArray>("subject");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("end"); // of a match from the program's start at `position`

    QTest::newRow("end anchor") << "^a*$" << QByteArray("aaaa") << 0 << 4;
    QTest::newRow("the nearest of the alternatives") << "a|bbb|b" << QByteArray("bbbxa") << 0 << 1;
    QTest::newRow("an alternative that fails here") << "a|bbb" << QByteArray("bbbxa") << 0 << 3;
    QTest::newRow("a literal further on") << "(a|bc)*d" << QByteArray("bcad") << 0 << 4;
    QTest::newRow("repetition up to its maximum") << "a{1,2}b" << QByteArray("aaab") << 1 << 4;
    QTest::newRow("repetition, fewer than its maximum") << "a{1,2}b" << QByteArray("aaab") << 2 << 4;
    QTest::newRow("counted loops at will") << "^((a{1,3}){1,2}){1,2}$" << QByteArray(40, 'a') << 0 << 40;
    QTest::newRow("a run of a back-reference's characters") << "(a)\\1*x" << QByteArray("aaaax") << 0 << 5;
    QTest::newRow("a 300-byte subject (two bytes an entry)") << "a*b" << QByteArray(299, 'a') + "b" << 0 << 300;
}

void CapacityTest::leastEnd()
{
    QFETCH(QString, pattern);
    QFETCH(QByteArray, subject);
    QFETCH(int, position);
    QFETCH(int, end);

    const regex::Program program = compiled(pattern);
    const auto *input = reinterpret_cast<const uint8_t *>(subject.constData());
    regex::ViabilityMap map;
    QVERIFY(map.build(program, input, static_cast<int>(subject.size()), int64_t {1} << 23, true));
    QVERIFY(map.viable(1, position));
    QCOMPARE(map.leastEnd(1, position), end);

    QVERIFY(map.build(program, input, static_cast<int>(subject.size()), int64_t {1} << 23, false));
    QCOMPARE(map.leastEnd(1, position), position); // no ends kept: no bound
}

QTEST_GUILESS_MAIN(CapacityTest)
#include "capacity_test.moc"
