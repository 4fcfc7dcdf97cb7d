// The command line on a real X server with openbox (tests/support/x11-session) and test-client windows: the
// framewright program is run as a user would run it. Listing entries and windows, matching, applying with its exit
// statuses, watching (a window mapped later, one retitled into a match, one that never matches, SIGTERM), and the
// errors; the settings file is only ever read. Results are checked with raw X requests.
#include "filebytes.h"
#include "framewrightrun.h"
#include "rawx.h"
#include "terminaltext.h"
#include "testclient.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <map>

namespace {

// Monitor 2 of the harness is 1280 x 1024 at (1920, 0); the primary is 1920 x 1080 at the origin.
const QByteArray kSettings = "[General]\nPresetCount=7\nPreset1=Notes right\nPreset2=Regex\nPreset3=Nothing\n"
                             "Preset4=Off screen\nPreset5=Watched\nPreset6=Retitled\nPreset7=Left half of screen\n"
                             "[Notes right]\nTitle=notepad\nScreenIndex=1\nHorzIndex=2\nHorzValue=10\nHorzPx=1\n"
                             "VertIndex=2\nVertValue=10\nVertPx=1\nWidthValue=50\nHeightValue=50\n"
                             "[Regex]\nTitle=^Untitled\nRegex=1\nHorzValue=100\nHorzPx=1\nVertValue=50\nVertPx=1\n"
                             "WidthValue=400\nWidthPx=1\nHeightValue=300\nHeightPx=1\n"
                             "[Nothing]\nTitle=no window has this title\n"
                             "[Off screen]\nTitle=Off-screen target\nScreenIndex=1\nHorzValue=5000\nHorzPx=1\n"
                             "WidthValue=300\nWidthPx=1\nHeightValue=200\nHeightPx=1\n"
                             "[Watched]\nTitle=^Watched\nRegex=1\nHorzIndex=1\nVertIndex=1\nWidthValue=500\nWidthPx=1\n"
                             "HeightValue=400\nHeightPx=1\n"
                             "[Retitled]\nTitle=renamed into a match\nScreenIndex=1\nWidthValue=25\nHeightValue=25\n"
                             "[Left half of screen]\nVertIndex=1\nWidthValue=50\nHeightValue=100\n";

// Entries for windows whose titles start with "Hostile", and one whose description and title carry control
// characters themselves.
const QByteArray kHostileSettings
    = "[General]\nPresetCount=3\nPreset1=Hostile\nPreset2=Hostile off screen\nPreset3=Evil \x1b[2J\x07 entry\n"
      "[Hostile]\nTitle=^Hostile\nRegex=1\nHorzValue=100\nHorzPx=1\nVertValue=100\nVertPx=1\nWidthValue=300\n"
      "WidthPx=1\nHeightValue=200\nHeightPx=1\n"
      "[Hostile off screen]\nTitle=^Hostile\nRegex=1\nScreenIndex=1\nHorzValue=5000\nHorzPx=1\nWidthValue=300\n"
      "WidthPx=1\nHeightValue=200\nHeightPx=1\n"
      "[Evil \x1b[2J\x07 entry]\nTitle=\x1b]52;c;ZXZpbA==\x07 \x7f"
      "\xc2\x9b"
      "end\n";

// A title as a window's owner sets it: the property, its bytes, and the title a reader makes of them.
struct HostileTitle
{
    const char *name;
    const char *property; // _NET_WM_NAME (UTF8_STRING) or WM_NAME (STRING, Latin-1)
    QByteArray bytes;
    QString title;
};

const HostileTitle kHostileTitles[] = {
    {"ESC and CSI: clear and recolour", "_NET_WM_NAME", "Hostile \x1b[2J\x1b[31mred", "Hostile \x1b[2J\x1b[31mred"},
    {"C1 CSI as UTF-8", "_NET_WM_NAME",
        "Hostile \xc2\x9b"
        "31m",
        QStringView(u"Hostile \u009b31m").toString()},
    {"OSC 52 writes the clipboard", "_NET_WM_NAME", "Hostile \x1b]52;c;ZXZpbA==\x07", "Hostile \x1b]52;c;ZXZpbA==\x07"},
    {"OSC 0 retitles the terminal", "_NET_WM_NAME", "Hostile \x1b]0;owned\x1b\\", "Hostile \x1b]0;owned\x1b\\"},
    {"CR overwrites the line", "_NET_WM_NAME", "Hostile\rOverwritten", "Hostile\rOverwritten"},
    {"LF forges a window line", "_NET_WM_NAME", "Hostile\n0x00000001\tmonitor 1\tnormal\t0,0 1x1\tforged",
        "Hostile\n0x00000001\tmonitor 1\tnormal\t0,0 1x1\tforged"},
    {"TAB forges a field", "_NET_WM_NAME", "Hostile\tfield", "Hostile\tfield"},
    {"BEL and DEL", "_NET_WM_NAME", "Hostile\x07\x7f", "Hostile\x07\x7f"},
    {"C1 CSI as a raw byte: invalid UTF-8", "_NET_WM_NAME",
        "Hostile \x9b"
        "2J",
        QStringView(u"Hostile \ufffd2J").toString()},
    {"invalid and truncated UTF-8", "_NET_WM_NAME", "Hostile \xff\xfe \xc3",
        QStringView(u"Hostile \ufffd\ufffd \ufffd").toString()},
    {"line separator and bidirectional override", "_NET_WM_NAME", QStringView(u"Hostile \u2028x\u202egnp.exe").toUtf8(),
        QStringView(u"Hostile \u2028x\u202egnp.exe").toString()},
    {"C1 bytes in Latin-1 WM_NAME", "WM_NAME",
        "Hostile \x9b"
        "2J\x85"
        "next",
        QStringView(u"Hostile \u009b2J\u0085next").toString()},
    {"a backslash that looks like an escape", "_NET_WM_NAME", "Hostile \\x1b\\", "Hostile \\x1b\\"},
};

const QRect kNotesRight(1920 + 1280 - 640 - 10, 1024 - 512 - 10, 640, 512);
const QRect kRegex(100, 50, 400, 300);
const QRect kWatched((1920 - 500) / 2, (1080 - 400) / 2, 500, 400);
const QRect kRetitled(1920, 0, 320, 256);
const QRect kLeftHalf(0, 0, 960, 1080);

} // namespace

class CliX11Test : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(m_raw.connected(), "no X server: run through tests/support/x11-session");
        QVERIFY2(m_client.start(), qPrintable(m_client.lastError()));
        m_settings = m_dir.filePath(QStringLiteral("KTZ.ini"));
        writeAll(m_settings, kSettings);
    }

    void cleanup() { QCOMPARE(readAll(m_settings), kSettings); } // only read, whatever the mode

    void listsTheEntries()
    {
        const Run run = framewright({"--list"});
        QCOMPARE(run.status, 0);
        const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 7);
        QCOMPARE(
            lines[0], QStringLiteral("Notes right\ttitle: notepad\tmonitor 2, right +10 px, bottom +10 px, 50% x 50%"));
        QCOMPARE(lines[1],
            QStringLiteral(
                "Regex\tregular expression: ^Untitled\tmonitor 1, left +100 px, top +50 px, 400 px x 300 px"));
        QCOMPARE(lines[6],
            QStringLiteral("Left half of screen\tno title: the active window\tmonitor 1, left +0%, center +0%, 50% x "
                           "100%"));
    }

    void listsTheWindowsAsTheyAre()
    {
        const quint32 a = open("Untitled - Notepad", "pos=40,60 size=300x200");
        const quint32 b = open("A window of its own", "pos=400,300 size=250x150");
        const Run run = framewright({"--windows"});
        QCOMPARE(run.status, 0);
        // Topmost first, each with the rectangle raw X gives.
        QStringList expected;
        for (const quint32 window : m_raw.stackingTopmostFirst()) {
            if (window == a || window == b) {
                expected << windowLine(window, window == a ? "Untitled - Notepad" : "A window of its own");
            }
        }
        QStringList listed;
        for (const QString &line : run.out.split(u'\n', Qt::SkipEmptyParts)) {
            if (line.startsWith(hexId(a)) || line.startsWith(hexId(b))) {
                listed << line;
            }
        }
        QCOMPARE(listed, expected);
        destroy(a);
        destroy(b);
    }

    void matchMovesNothing()
    {
        const quint32 window = open("Untitled - Notepad", "pos=40,60 size=300x200");
        const QRect before = *m_raw.outerFromExtents(window);
        const Run run = framewright({"--match", "NOTES RIGHT"});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, windowLine(window, "Untitled - Notepad") + u'\n');
        QCOMPARE(*m_raw.outerFromExtents(window), before);
        QCOMPARE(framewright({"--match", "Nothing"}).status, 1);
        destroy(window);
    }

    void apply_data()
    {
        QTest::addColumn<QStringList>("descriptions");
        QTest::addColumn<int>("status");
        QTest::addColumn<QRect>("notepad"); // where "Untitled - Notepad" is afterwards
        QTest::newRow("plain title: landed, 0") << QStringList {"Notes right"} << 0 << kNotesRight;
        QTest::newRow("two entries in the order given") << QStringList {"Notes right", "regex"} << 0 << kRegex;
        QTest::newRow("no window matched: 1") << QStringList {"Nothing"} << 1 << QRect(40, 60, 0, 0);
        QTest::newRow("a window the window manager keeps on screen: 2")
            << QStringList {"Off screen", "Notes right"} << 2 << kNotesRight;
    }

    void apply()
    {
        QFETCH(QStringList, descriptions);
        QFETCH(int, status);
        QFETCH(QRect, notepad);
        const quint32 window = open("Untitled - Notepad", "pos=40,60 size=300x200");
        const quint32 offScreen = open("Off-screen target", "pos=600,400 size=300x200");
        const QRect before = *m_raw.outerFromExtents(window);
        const Run run = framewright(QStringList {"--apply"} + descriptions);
        QCOMPARE(run.status, status);
        const QRect expected = notepad.isEmpty() ? before : notepad;
        QCOMPARE(*m_raw.outerFromExtents(window), expected);
        QCOMPARE(*m_raw.outerFromFrame(window), expected);
        if (status == 0) {
            QVERIFY(run.out.endsWith(windowLine(window, "Untitled - Notepad") + u'\n'));
            QVERIFY(run.err.isEmpty());
        } else if (status == 2) {
            QVERIFY(run.out.contains(hexId(offScreen)));
            QVERIFY2(run.err.count(u'\n') == 1, qPrintable(run.err));
            QVERIFY2(run.err.contains(hexId(offScreen)), qPrintable(run.err));
        }
        destroy(window);
        destroy(offScreen);
    }

    void applyWithoutTitleMovesTheActiveWindow()
    {
        const quint32 other = open("A window of its own", "pos=400,300 size=250x150");
        const quint32 active = open("The active one", "pos=500,500 size=250x150");
        m_raw.activate(active);
        const auto activeIsFirst = [&] { // xfwm4 appends a second item to the property
            const std::vector<quint32> items = m_raw.values(m_raw.root(), "_NET_ACTIVE_WINDOW");
            return !items.empty() && items[0] == active;
        };
        QTRY_VERIFY(activeIsFirst());
        const QRect otherBefore = *m_raw.outerFromExtents(other);
        QCOMPARE(framewright({"--apply", "left half of screen"}).status, 0);
        QCOMPARE(*m_raw.outerFromExtents(active), kLeftHalf);
        QCOMPARE(*m_raw.outerFromExtents(other), otherBefore);
        destroy(other);
        destroy(active);
    }

    void watchAppliesToWindowsAsTheyComeAndEndsOnSigterm()
    {
        const quint32 early = open("Watched before the start", "pos=40,60 size=300x200");
        const QRect earlyBefore = *m_raw.outerFromExtents(early);
        QProcess watch;
        QByteArray errors = startWatching(watch, {"--settings", m_settings, "--watch", "Watched", "Retitled"});
        QVERIFY2(errors.contains("watching for 2 entries"), errors.constData());

        // Never matching, then mapped later and matching: once the second has landed, the first was looked at.
        const quint32 never = open("Not for any entry", "pos=700,500 size=200x100");
        const QRect neverBefore = *m_raw.outerFromExtents(never);
        const quint32 later = open("Watched and mapped later", "pos=40,600 size=300x200");
        QTRY_COMPARE(m_raw.outerFromExtents(later).value_or(QRect()), kWatched);
        QCOMPARE(*m_raw.outerFromExtents(never), neverBefore);
        QCOMPARE(*m_raw.outerFromExtents(early), earlyBefore); // open before the start: left alone

        // Retitled into a match.
        const quint32 renamed = open("A plain title", "pos=900,100 size=200x100");
        QVERIFY(
            m_client.command(QByteArray("title 0x") + QByteArray::number(renamed, 16) + " -- Renamed into a match"));
        QTRY_COMPARE(m_raw.outerFromExtents(renamed).value_or(QRect()), kRetitled);
        QByteArray moved;
        QTRY_VERIFY((moved += watch.readAllStandardOutput()).contains(hexId(renamed).toUtf8()));

        watch.terminate();
        QVERIFY(watch.waitForFinished());
        QCOMPARE(watch.exitStatus(), QProcess::NormalExit);
        QCOMPARE(watch.exitCode(), 0);
        for (const quint32 window : {early, never, later, renamed}) {
            destroy(window);
        }
    }

    void errors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("display");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown description") << QStringList {"--apply", "Nope"} << true << 65 << "no saved entry";
        QTest::newRow("unknown option") << QStringList {"--aply", "Regex"} << true << 64 << "unknown option";
        QTest::newRow("no display") << QStringList {"--windows"} << false << 69 << "no X display";
        QTest::newRow("no display for apply") << QStringList {"--apply", "Regex"} << false << 69 << "no X display";
        QTest::newRow("no display needed to list") << QStringList {"--list"} << false << 0 << "";
    }

    void errors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, display);
        QFETCH(int, status);
        QFETCH(QString, message);
        const Run run = framewright(arguments, display);
        QCOMPARE(run.status, status);
        QCOMPARE(run.err.count(u'\n'), message.isEmpty() ? 0 : 1);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
    }

    void unreadableSettingsFile()
    {
        for (const QString &path : {m_dir.filePath(QStringLiteral("missing.ini")), m_dir.path()}) {
            const Run run = framewright({"--settings", path, "--apply", "Regex"}, true, false);
            QCOMPARE(run.status, 66);
            QVERIFY2(
                run.err.startsWith(QStringLiteral("framewright: cannot read the settings file ")), qPrintable(run.err));
            QCOMPARE(run.err.count(u'\n'), 1);
        }
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("missing.ini"))));
    }

    // Every mode that prints a window writes the hostile title escaped, in one line of five fields that reads back
    // to the title; so does the error of a window that did not land.
    void hostileTitlesStayOneEscapedLine_data()
    {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(kHostileTitles)); ++row) {
            QTest::newRow(kHostileTitles[row].name) << row;
        }
    }

    void hostileTitlesStayOneEscapedLine()
    {
        QFETCH(int, row);
        const HostileTitle &hostile = kHostileTitles[row];
        const QString settings = hostileSettings();
        const quint32 window = openHostile(hostile, "pos=40,60 size=300x200");
        for (const char *mode : {"--windows", "--match", "--apply"}) {
            const QStringList arguments {"--settings", settings, mode};
            const Run run = framewright(
                QString(mode) == "--windows" ? arguments : arguments + QStringList {"Hostile"}, true, false);
            QCOMPARE(run.status, 0);
            QCOMPARE(terminalOutputProblem(run.rawErr, false), QString());
            QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
            verifyWindowLines(run.rawOut, {{window, hostile.title}}, QString(mode) != "--windows");
        }
        const Run refused = framewright({"--settings", settings, "--apply", "Hostile off screen"}, true, false);
        QCOMPARE(refused.status, 2);
        QCOMPARE(terminalOutputProblem(refused.rawErr, false), QString());
        QCOMPARE(refused.err.count(u'\n'), 1);
        const auto readBack = readBackEscaped(refused.err);
        QVERIFY2(readBack && readBack->contains(u'(' + hostile.title + u')'), qPrintable(refused.err));
        destroy(window);
    }

    // --watch prints each hostile window it places in one escaped line, also when the title arrives later.
    void watchPrintsHostileTitlesEscaped()
    {
        const quint32 unrelated = open(QStringLiteral("Not for any entry"), "pos=400,300 size=250x150");
        QProcess watch;
        QByteArray errors = startWatching(watch, {"--settings", hostileSettings(), "--watch", "Hostile"});
        QVERIFY2(errors.contains("watching for 1 entry"), errors.constData());
        std::map<quint32, QString> expected;
        for (const HostileTitle &hostile : kHostileTitles) {
            expected[openHostile(hostile, "pos=700,500 size=200x100")] = hostile.title;
        }
        QByteArray out;
        QTRY_VERIFY_WITH_TIMEOUT(
            (out += watch.readAllStandardOutput()).count('\n') >= qsizetype(expected.size()), 20000);
        watch.terminate();
        QVERIFY(watch.waitForFinished());
        out += watch.readAllStandardOutput();
        errors += watch.readAllStandardError();
        QCOMPARE(terminalOutputProblem(errors, false), QString());
        verifyWindowLines(out, expected, true);
        for (const auto &[window, title] : expected) {
            destroy(window);
        }
        destroy(unrelated);
    }

    // Descriptions and titles of entries, and arguments echoed in errors, are escaped as well.
    void hostileEntriesAndArgumentsEscaped()
    {
        const QString settings = hostileSettings();
        const Run list = framewright({"--settings", settings, "--list"}, false, false);
        QCOMPARE(list.status, 0);
        QCOMPARE(terminalOutputProblem(list.rawOut, true), QString());
        const QStringList lines = list.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        const QStringList evil = lines[2].split(u'\t');
        QCOMPARE(evil.size(), 3);
        QCOMPARE(readBackEscaped(evil[0]), std::optional<QString>("Evil \x1b[2J\x07 entry"));
        QCOMPARE(readBackEscaped(evil[1]),
            std::optional<QString>(QStringView(u"title: \u001b]52;c;ZXZpbA==\u0007 \u007f\u009bend").toString()));
        const QStringList hostileArguments[]
            = {{"--apply", "\x1b]0;owned\x07"}, {"--match", "a\nb"}, {"--\x1b[2J"}, {"--list", "\x1b[31m"}, {"\x9b"}};
        for (const QStringList &arguments : hostileArguments) {
            const Run run = framewright(QStringList {"--settings", settings} + arguments, false, false);
            QVERIFY(run.status == 64 || run.status == 65);
            QCOMPARE(terminalOutputProblem(run.rawErr, false), QString());
            QCOMPARE(run.err.count(u'\n'), 1);
        }
    }

private:
    // A window of the test client that bears the hostile title exactly as its bytes go, in its property alone.
    quint32 openHostile(const HostileTitle &hostile, const QString &options)
    {
        const bool latin1 = QByteArray(hostile.property) == "WM_NAME";
        const quint32 window = open(QStringLiteral("Plain"), (latin1 ? "enc=latin1 " : "") + options);
        const QByteArray type = latin1 ? "STRING" : "UTF8_STRING";
        if (!m_client.command("prop 0x" + QByteArray::number(window, 16) + ' ' + hostile.property + ' ' + type + " 8 "
                + hostile.bytes.toHex())) {
            QTest::qFail("the hostile title was not set", __FILE__, __LINE__);
        }
        return window;
    }

    QString hostileSettings()
    {
        const QString path = m_dir.filePath(QStringLiteral("hostile.ini"));
        if (!QFile::exists(path)) {
            writeAll(path, kHostileSettings);
        }
        return path;
    }

    // Standard output holds nothing a terminal acts on but line ends and field tabs, and every line is a window
    // line of five fields. Each window expected has exactly one line whose title reads back to its title; with
    // `only`, there are no other lines.
    static void verifyWindowLines(const QByteArray &out, const std::map<quint32, QString> &expected, bool only)
    {
        QCOMPARE(terminalOutputProblem(out, true), QString());
        std::map<quint32, int> seen;
        const QStringList lines = QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts);
        for (const QString &line : lines) {
            const QStringList fields = line.split(u'\t');
            QCOMPARE(fields.size(), 5);
            bool isId = false;
            const quint32 window = fields[0].mid(2).toUInt(&isId, 16);
            QVERIFY2(isId && fields[0].startsWith(u"0x"), qPrintable(line));
            if (const auto found = expected.find(window); found != expected.end()) {
                ++seen[window];
                QCOMPARE(readBackEscaped(fields[4]), std::optional<QString>(found->second));
            }
        }
        for (const auto &[window, title] : expected) {
            QVERIFY2(seen[window] == 1, qPrintable(hexId(window)));
        }
        if (only) {
            QCOMPARE(lines.size(), qsizetype(expected.size()));
        }
    }

    Run framewright(const QStringList &arguments, bool display = true, bool ourSettings = true)
    {
        RunOptions options;
        if (!display) {
            options.environment.remove(QStringLiteral("DISPLAY"));
        }
        return runFramewright(ourSettings ? QStringList {"--settings", m_settings} + arguments : arguments, options);
    }

    quint32 open(const QString &title, const QString &options)
    {
        const quint32 window = m_client.openWindow(options.toUtf8() + " -- " + title.toUtf8());
        if (window == 0
            || !QTest::qWaitFor([&] { return m_raw.wmState(window) == 1 && m_raw.outerFromExtents(window); })) {
            QTest::qFail("the test window was not opened and managed", __FILE__, __LINE__);
        }
        return window;
    }

    void destroy(quint32 window)
    {
        if (!m_client.command("destroy 0x" + QByteArray::number(window, 16))
            || !QTest::qWaitFor([&] { return !m_raw.exists(window); })) {
            QTest::qFail("the test window was not destroyed", __FILE__, __LINE__);
        }
    }

    static QString hexId(quint32 window) { return QStringLiteral("0x%1").arg(window, 8, 16, QLatin1Char('0')); }

    // The line --windows prints for a window in the normal state on the primary monitor.
    QString windowLine(quint32 window, const QString &title)
    {
        const QRect r = *m_raw.outerFromExtents(window);
        const int monitor = r.x() >= 1920 ? 2 : 1;
        return QStringLiteral("%1\tmonitor %2\tnormal\t%3,%4 %5x%6\t%7")
            .arg(hexId(window))
            .arg(monitor)
            .arg(r.x())
            .arg(r.y())
            .arg(r.width())
            .arg(r.height())
            .arg(title);
    }

    QTemporaryDir m_dir;
    QString m_settings;
    RawX m_raw;
    TestClient m_client;
};

QTEST_GUILESS_MAIN(CliX11Test)
#include "clix11_test.moc"
