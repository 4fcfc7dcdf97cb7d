// Differential tests of the pattern engine: against PCRE2 as the oracle, random patterns and
// subjects (fixed seed) in the syntax both engines read the same way; and the matcher keeping the
// states it failed from against the same walk that keeps none, which must give the same answers.
// Both compare whether they match and where the match and every group lie.
#include "regex/compiler.h"
#include "regex/patternengine.h"
#include "regex/searchoutcome.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <QTest>

#include <limits>
#include <memory>
#include <random>
#include <string>

class DifferentialTest : public QObject
{
    Q_OBJECT

private slots:
    void againstPcre2_data();
    void againstPcre2();
    void memoisedAgainstPlain_data();
    void memoisedAgainstPlain();
    void memoisedCases_data();
    void memoisedCases();
    void countedLoopsAgainstPlain_data();
    void countedLoopsAgainstPlain();
};

namespace {

constexpr int kPatterns = 2500;
constexpr int kSubjectsPerPattern = 4;

// Random patterns of literals, '.', classes, \d \w \s \b \B, ^ $, groups, alternatives,
// back-references to closed groups and every quantifier form (greedy and lazy).
class PatternGenerator
{
public:
    // `boundSpan`: counted repetitions get bounds up to about twice it. `openReferences`: a
    // back-reference may also read a group it stands in, and groups may match the empty text often.
    explicit PatternGenerator(uint32_t seed, int boundSpan = 3, bool openReferences = false)
        : m_random(seed)
        , m_boundSpan(boundSpan)
        , m_openReferences(openReferences)
    { }

    std::string pattern()
    {
        m_groups = 0;
        m_closed = 0;
        return alternatives(0);
    }

    std::string subject(bool mixedCase)
    {
        static const std::string letters = "aaabbbccd  \n";
        std::string text;
        const int length = pick(13);
        for (int i = 0; i < length; ++i) {
            char ch = letters[static_cast<size_t>(pick(static_cast<int>(letters.size())))];
            if (mixedCase && pick(3) == 0 && ch >= 'a') {
                ch = static_cast<char>(ch - 'a' + 'A');
            }
            text += ch;
        }
        return text;
    }

private:
    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_random); }

    std::string alternatives(int depth)
    {
        std::string text = sequence(depth);
        while (pick(5) == 0) {
            text += "|" + sequence(depth);
        }
        return text;
    }

    std::string sequence(int depth)
    {
        std::string text;
        const int pieces = pick(4) + (depth == 0 ? 1 : 0);
        for (int i = 0; i < pieces; ++i) {
            text += piece(depth);
        }
        return text;
    }

    std::string piece(int depth)
    {
        std::string text = atom(depth);
        if (text == "^" || text == "$" || text == "\\b" || text == "\\B") {
            return text;
        }
        switch (pick(12)) {
        case 0:
            return text + "*";
        case 1:
            return text + "+";
        case 2:
            return text + "?";
        case 3:
            return text + "*?";
        case 4:
            return text + "+?";
        case 5:
            return text + "??";
        case 6:
            return text + "{" + std::to_string(pick(m_boundSpan)) + "}";
        case 7: {
            const int min = pick(m_boundSpan);
            return text + "{" + std::to_string(min) + "," + std::to_string(min + pick(m_boundSpan)) + "}"
                + (pick(2) ? "?" : "");
        }
        case 8:
            return text + "{" + std::to_string(pick(m_boundSpan)) + ",}";
        default:
            return text;
        }
    }

    std::string atom(int depth)
    {
        static const char *const fixed[] = {"a", "b", "c", "ab", "ba", ".", "[ab]", "[^a]", "[a-c]", "[^ \\n]", "\\d",
            "\\w", "\\s", "\\W", " ", "^", "$", "\\b", "\\B"};
        const int choice = pick(depth < 3 ? 26 : 19);
        if (choice < 19) {
            return fixed[choice];
        }
        const int referable = m_openReferences ? m_groups : m_closed;
        if (choice < 22 && referable > 0) {
            return "\\" + std::to_string(1 + pick(referable));
        }
        if (m_openReferences && choice == 22 && m_groups < 9) {
            ++m_groups;
            const std::string inner = atom(depth + 1);
            m_closed = m_groups;
            return "(" + inner + "?)";
        }
        if (m_groups >= 9) {
            return "a";
        }
        ++m_groups;
        const std::string inner = alternatives(depth + 1);
        m_closed = m_groups;
        return "(" + inner + ")";
    }

    std::mt19937 m_random;
    int m_boundSpan;
    bool m_openReferences;
    int m_groups = 0;
    int m_closed = 0;
};

struct Pcre2CodeDeleter
{
    void operator()(pcre2_code *code) const { pcre2_code_free(code); }
};
struct Pcre2MatchDataDeleter
{
    void operator()(pcre2_match_data *data) const { pcre2_match_data_free(data); }
};

// The positions of groups 0..9 as "s,e s,e ..." ("-" when unset), "no match", or "" when the
// engine gave up (error or limit) and the case does not count.
std::string pcre2Result(const std::string &pattern, const std::string &subject, bool caseless)
{
    int error = 0;
    PCRE2_SIZE errorOffset = 0;
    const uint32_t options = PCRE2_DOTALL | PCRE2_DOLLAR_ENDONLY | (caseless ? PCRE2_CASELESS : 0);
    const std::unique_ptr<pcre2_code, Pcre2CodeDeleter> code(pcre2_compile(
        reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), options, &error, &errorOffset, nullptr));
    if (!code) {
        return {};
    }
    const std::unique_ptr<pcre2_match_data, Pcre2MatchDataDeleter> data(
        pcre2_match_data_create_from_pattern(code.get(), nullptr));
    const int rc = pcre2_match(
        code.get(), reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(), 0, 0, data.get(), nullptr);
    if (rc == PCRE2_ERROR_NOMATCH) {
        return "no match";
    }
    if (rc < 0) {
        return {};
    }
    const PCRE2_SIZE *ovector = pcre2_get_ovector_pointer(data.get());
    const uint32_t pairs = pcre2_get_ovector_count(data.get());
    std::string text;
    for (uint32_t n = 0; n < 10; ++n) {
        const bool set = n < pairs && ovector[2 * n] != PCRE2_UNSET;
        text += set ? std::to_string(ovector[2 * n]) + "," + std::to_string(ovector[2 * n + 1]) + " " : "- ";
    }
    return text;
}

std::string engineResult(TPatternEngine &engine, const std::string &subject)
{
    try {
        if (!engine.Exec(subject)) {
            return "no match";
        }
    } catch (const EPatternEngine &) {
        return {};
    }
    std::string text;
    for (int n = 0; n < 10; ++n) {
        const bool set = engine.GroupStart(n) >= 0 && engine.GroupEnd(n) >= 0;
        text += set ? std::to_string(engine.GroupStart(n)) + "," + std::to_string(engine.GroupEnd(n)) + " " : "- ";
    }
    return text;
}

// A run of `program` on `subject`, memoising from the first step or never.
std::string searchResult(const regex::Program &program, const std::string &subject, bool memoise)
{
    return regex::searchOutcome(program, subject, memoise ? 0 : std::numeric_limits<int64_t>::max());
}

// The default modifiers with `letters` applied.
uint32_t modifiersWith(std::string_view letters)
{
    uint32_t modifiers = regex::kModR | regex::kModS | regex::kModG;
    regex::applyModifierLetters(letters, modifiers);
    return modifiers;
}

} // namespace

void DifferentialTest::againstPcre2_data()
{
    QTest::addColumn<uint>("seed");
    QTest::addColumn<bool>("caseless");
    QTest::newRow("case-sensitive") << 20261207u << false;
    QTest::newRow("case-insensitive") << 7u << true;
}

void DifferentialTest::againstPcre2()
{
    QFETCH(uint, seed);
    QFETCH(bool, caseless);

    PatternGenerator generator(seed);
    int compared = 0;
    int refused = 0;
    QStringList mismatches;
    for (int i = 0; i < kPatterns; ++i) {
        const std::string pattern = generator.pattern();
        TPatternEngine engine;
        engine.setModifierByIndex(1, caseless);
        engine.SetExpression(pattern);
        try {
            engine.Exec("");
        } catch (const EPatternEngine &error) {
            // Refused by design where PCRE2 accepts: a repeat of what can match the empty text.
            QCOMPARE(error.ErrorId, 106);
            ++refused;
            continue;
        }
        for (int s = 0; s < kSubjectsPerPattern; ++s) {
            const std::string subject = generator.subject(caseless);
            const std::string expected = pcre2Result(pattern, subject, caseless);
            const std::string actual = engineResult(engine, subject);
            if (expected.empty() || actual.empty()) {
                continue;
            }
            ++compared;
            if (actual != expected && mismatches.size() < 10) {
                mismatches << QString::fromStdString(
                    "/" + pattern + "/ on \"" + subject + "\": pcre2 " + expected + " engine " + actual);
            }
        }
    }
    qInfo("compared %d cases, %d patterns refused with 106", compared, refused);
    QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches.join('\n')));
    QVERIFY(compared > 5000);
}

void DifferentialTest::memoisedAgainstPlain_data()
{
    QTest::addColumn<uint>("seed");
    QTest::addColumn<QString>("modifiers");
    QTest::addColumn<int>("boundSpan");
    QTest::addColumn<bool>("openReferences");
    QTest::newRow("defaults") << 11u << "" << 3 << false;
    QTest::newRow("case-insensitive") << 12u << "i" << 3 << false;
    QTest::newRow("every quantifier lazy: counted loops") << 13u << "-g" << 3 << false;
    QTest::newRow("multi-line, dot without line ends") << 14u << "m-s" << 3 << false;
    QTest::newRow("wide counted loops: maxima within reach") << 15u << "" << 6 << false;
    QTest::newRow("wide counted loops, every quantifier lazy") << 16u << "-g" << 6 << false;
    QTest::newRow("back-references that may match nothing") << 17u << "" << 3 << true;
    QTest::newRow("back-references that may match nothing, every quantifier lazy") << 18u << "-g" << 3 << true;
    QTest::newRow("back-references that may match nothing, case-insensitive") << 19u << "i" << 3 << true;
}

void DifferentialTest::memoisedAgainstPlain()
{
    QFETCH(uint, seed);
    QFETCH(QString, modifiers);
    QFETCH(int, boundSpan);
    QFETCH(bool, openReferences);

    PatternGenerator generator(seed, boundSpan, openReferences);
    int compared = 0;
    QStringList mismatches;
    for (int i = 0; i < kPatterns / 2; ++i) {
        const std::string pattern = generator.pattern();
        regex::Program program;
        try {
            program = regex::compile(pattern, {modifiersWith(modifiers.toStdString()), {13, 10}});
        } catch (const regex::Error &) {
            continue;
        }
        for (int s = 0; s < kSubjectsPerPattern; ++s) {
            const std::string subject = generator.subject(true) + generator.subject(true);
            const std::string plain = searchResult(program, subject, false);
            if (plain == "error 1016") {
                continue; // the plain walk gave up where the memoised one answers
            }
            const std::string memoised = searchResult(program, subject, true);
            ++compared;
            if (plain != memoised && mismatches.size() < 10) {
                mismatches << QString::fromStdString(
                    "/" + pattern + "/ on \"" + subject + "\": plain " + plain + " memoised " + memoised);
            }
        }
    }
    QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches.join('\n')));
    QVERIFY(compared > 2500);
}

// Nested quantifiers, alternatives under stars, counted loops and back-references under stars, on
// subjects that make the plain walk backtrack a lot (but stay within its budget).
void DifferentialTest::memoisedCases_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("modifiers");
    QTest::addColumn<QByteArray>("subject");

    const QByteArray as14(14, 'a');
    const auto row = [](const char *name, const char *pattern, const char *modifiers, const QByteArray &subject) {
        QTest::newRow(name) << QString::fromLatin1(pattern) << QString::fromLatin1(modifiers) << subject;
    };
    row("nested plus, no match", "^(a+)+$", "", as14 + "!");
    row("nested plus, match", "^(a+)+$", "", as14);
    row("nested plus, groups of the last pass", "(a+)+b", "", as14 + "b");
    row("three levels", "((a+)+)+(b|c)", "", as14 + "c");
    row("alternatives under a star", "(a|aa)*(ab|b)$", "", as14 + "b");
    row("alternatives under a star, no match", "(a|aa|aaa)*c", "", as14);
    row("words under a plus", "^(\\w+\\s?)+$", "", "ab cd ef gh ij!");
    row("optional groups", "^(a|aa)?(a|aa)?(a|aa)?(a|aa)?(a|aa)?b", "", "aaaaaaaaaab");
    row("lazy nested loops", "((a+?)+?)+?(b|c)", "", as14 + "b");
    row("lazy nested loops, no match", "((a+?)+?)+?(b|c)", "", QByteArray(9, 'a'));
    row("without g", "^(a+)+(a)$", "-g", as14);
    row("bounded counted loops", "^((a{1,3}){1,4}){1,3}(a*)$", "", as14);
    row("bounded counted loops, lazy", "^((a{1,3}?){2,4}?){1,3}?(a*)$", "", as14);
    row("nested counted loops, no match", "^((a|aa){1,5}){2,4}$", "", as14 + "!");
    row("nested counted loops, lazy, no match", "^((a|aa){1,5}?){2,4}?$", "", as14 + "!");
    row("counted loop reaching its maximum", "^((a|aa){2,6}b?){1,3}(aaa)$", "", as14);
    row("counted loop under a star", "^((ab|a){1,3}b?)*c", "", "abababaabab");
    row("optional group that may match nothing, in a counted loop", "^((a*)?\\?(a|b)){2,9}$", "", "aaaaab!");
    row("optional group that may match nothing, lazy loop around it", "^(x(a*)?\\?){1,4}?xa", "-g", "xxaxx");
    row("dot stars", "(.*)(.*),(.*)(.*)x", "", "aa,bb,cc,dd");
    row("back-reference under a star", "^(a|b)(\\1|b)*c", "", "aaabaaab");
    row("back-reference to an empty group", "(a?)(\\1|a)*b", "", as14);
    row("back-reference after a loop, no match", "^(a|aa)+\\1$", "", as14 + "!");
    row("back-reference after a loop, match", "^(a|aa)+\\1$", "", as14);
    row("back-reference read twice after a loop", "^(a|b|ab)+\\1\\1$", "", "ababab");
    row("back-reference after a loop, the longer alternative", "^(a|ab|b)+\\1$", "", "abab");
    row("back-reference, case-insensitive", "^(a|aa)+\\1$", "i", "aAaAaAaAaAAa");
    row("two referenced groups", "^(a|aa)(b|a)+\\2\\1(b|$)", "", as14 + "b");
    row("back-reference in a counted loop", "^((a|aa)\\2){1,5}$", "", as14 + "!");
    row("back-reference to a group of the same pass", "^((a)|b\\2)+$", "", "abaababaa");
    row("back-reference before its group closes", "^(\\2b|(a))+c", "", "aababab");
    row("case-insensitive alternatives", "^(A|a)+(B|b)+$", "i", "aAaAbBbB!");
    row("lazy counted loops in lazy counted loops, no match", "^((a{1,3}?){1,5}?){1,5}?$", "", as14 + "!");
    row("lazy counted loops in lazy counted loops, match", "^((a{1,3}?){1,5}?){1,5}?$", "", as14);
    row("lazy counted loops whose maxima end the match", "^((a|aa){1,3}?){1,3}?b", "", "aaaaaaab");
    row("lazy counted loops whose maxima are too low", "^((a|aa){1,3}?){1,2}?b", "", as14 + "b");
    row("greedy counted loops in lazy ones", "^((a|aa){1,3}){1,4}?(b|$)", "", as14);
    row("a start anchor in a loop", "(^a|b)+c", "", "bbabbc");
    row("an end anchor in a loop", "(a$|b)+", "", "bbabba");
    row("back-reference repeated to the end", "^(ab|a)\\1+$", "", "abababab");
    row("back-reference read case-insensitively", "^(a)(?i)\\1+$", "", "aAaA");
    row("back-reference read case-insensitively, a literal after", "^(a|b)(?i)\\1*B$", "", "aAaAb");
    row("counted loops over an optional piece whose character is rare", "^((a{1,2}b?){1,3}?){1,3}$", "",
        "aaaaababaaaaaaa");
    row("back-reference that may match nothing, a stop", "(a?)(\\1|a)*b", "", as14 + "!b");
    row("back-reference that may match nothing, its group takes the stop", "(.?)(\\1|a)*b", "", as14 + "!b");
    row("back-reference that may match nothing under a plus", "^(.?)(\\1|a)+\\1b", "", as14 + "!b");
    row("back-reference that may match nothing, lazy loop", "^(.?)(\\1|a)*?\\1b", "", as14 + "!b");
    row("back-reference that may match nothing, counted loop", "(.?)(\\1|a){0,20}b", "", as14 + "!b");
    row("back-reference to an open group in a loop", "^(a|\\1b)+c", "", "aabbabbc");
}

void DifferentialTest::memoisedCases()
{
    QFETCH(QString, pattern);
    QFETCH(QString, modifiers);
    QFETCH(QByteArray, subject);

    regex::Program program;
    try {
        program = regex::compile(pattern.toStdString(), {modifiersWith(modifiers.toStdString()), {13, 10}});
    } catch (const regex::Error &error) {
        QFAIL(qPrintable(QStringLiteral("compile error %1").arg(static_cast<int>(error.code))));
    }
    const std::string plain = searchResult(program, subject.toStdString(), false);
    QVERIFY2(plain.rfind("error", 0) != 0, plain.c_str());
    QCOMPARE(searchResult(program, subject.toStdString(), true), plain);
}

// Counted loops nested in counted loops, every pair of bounds from a small set, greedy and lazy, on
// subjects shorter and longer than the loops' maxima can take: where the maxima fall short a state
// fails at once by the characters it can still take, which must never fail a state that matches.
void DifferentialTest::countedLoopsAgainstPlain_data()
{
    QTest::addColumn<QString>("shape"); // A and B stand for the bounds of two counted loops

    QTest::newRow("nested, repetition innermost, end anchor") << "^((a{1,2})A)B$";
    QTest::newRow("alternatives in the inner loop, a literal after") << "^((ab|a)A)Bx$";
    QTest::newRow("one loop, unanchored, a literal after") << "(a{1,2}b?)Ac";
    QTest::newRow("more needed after both loops") << "^((a|aa)Ab?)B(aa)$";
    QTest::newRow("inner loop that may stop at once") << "^(a(ba{0,2})A)B$";
    QTest::newRow("more needed after the inner loop, within the outer pass") << "^((a{1,2})A(a|b))Ba?$";
    QTest::newRow("three loops deep") << "^((a(a)A)B){1,2}$";
    QTest::newRow("an unbounded tail after the loops") << "(x(a|aa)A)B(a*)";
    QTest::newRow("an optional piece whose character is rare, nested") << "^((a{1,2}b?)A)B$";
    QTest::newRow("a repetition of a rare character in the loop") << "^((a{1,2}b*)A)Bc?$";
    QTest::newRow("a rare literal among alternatives") << "^((a|xb)A)B(aa)?$";
}

void DifferentialTest::countedLoopsAgainstPlain()
{
    QFETCH(QString, shape);

    const QStringList bounds {"{0,1}", "{1}", "{1,2}", "{2,3}"};
    std::vector<std::string> subjects;
    for (int n = 0; n <= 11; ++n) {
        const std::string as(static_cast<size_t>(n), 'a');
        std::string abs;
        for (int i = 0; i < n / 2; ++i) {
            abs += "ab";
        }
        subjects.insert(subjects.end(), {as, as + "c", as + "x", abs + "x", "x" + as, as + "baa", as + "b", "xb" + as});
    }
    int compared = 0;
    QStringList mismatches;
    for (const QString &a : bounds) {
        for (const QString &b : bounds) {
            for (int lazy = 0; lazy < 4; ++lazy) {
                QString pattern = shape;
                pattern.replace('A', a + ((lazy & 1) != 0 ? "?" : ""));
                pattern.replace('B', b + ((lazy & 2) != 0 ? "?" : ""));
                regex::Program program;
                try {
                    program = regex::compile(pattern.toStdString(), {modifiersWith(""), {13, 10}});
                } catch (const regex::Error &error) {
                    // a loop whose body may match the empty text is refused by design
                    QVERIFY2(error.code == regex::ErrorCode::RepeatOfEmpty, qPrintable(pattern));
                    continue;
                }
                for (const std::string &subject : subjects) {
                    const std::string plain = searchResult(program, subject, false);
                    const std::string memoised = searchResult(program, subject, true);
                    ++compared;
                    if (plain != memoised && mismatches.size() < 10) {
                        mismatches << QString("/%1/ on \"%2\": plain %3 memoised %4")
                                          .arg(pattern, QString::fromStdString(subject), QString::fromStdString(plain),
                                              QString::fromStdString(memoised));
                    }
                }
            }
        }
    }
    QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches.join('\n')));
    QVERIFY(compared >= 32 * static_cast<int>(subjects.size()));
}

QTEST_GUILESS_MAIN(DifferentialTest)
#include "differential_test.moc"
