// The command line without a display: which mode the arguments ask for and the usage errors, placements in words,
// the watch session's rule (once per window and entry until the title stops matching) and what the watch writes,
// over a fake window system.
#include "cli/commandline.h"
#include "cli/commands.h"
#include "cli/placementwords.h"
#include "cli/watch.h"

#include "entryvalues.h"
#include "fakewindowsystem.h"

#include <QTest>

using platform::TopLevelWindow;
using platform::WindowId;

class CommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void parsing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("mode"); // -1: a usage error
        QTest::addColumn<QStringList>("descriptions");
        QTest::addColumn<QString>("settingsFile");
        const int window = int(Mode::Window);
        QTest::newRow("nothing: the window") << QStringList {} << window << QStringList {} << "";
        QTest::newRow("window options") << QStringList {"--no-skin", "--settings", "a.ini"} << window << QStringList {}
                                        << "a.ini";
        QTest::newRow("settings with =") << QStringList {"--settings=b.ini"} << window << QStringList {} << "b.ini";
        QTest::newRow("list") << QStringList {"--list"} << int(Mode::List) << QStringList {} << "";
        QTest::newRow("windows, no-skin ignored")
            << QStringList {"--no-skin", "--windows"} << int(Mode::Windows) << QStringList {} << "";
        QTest::newRow("match") << QStringList {"--match", "Left half"} << int(Mode::Match) << QStringList {"Left half"}
                               << "";
        QTest::newRow("apply several, settings after") << QStringList {"--apply", "A", "B", "--settings", "c.ini"}
                                                       << int(Mode::Apply) << QStringList {"A", "B"} << "c.ini";
        QTest::newRow("descriptions after -- may begin with a dash")
            << QStringList {"--apply", "--", "-x", "--list"} << int(Mode::Apply) << QStringList {"-x", "--list"} << "";
        QTest::newRow("watch without descriptions")
            << QStringList {"--watch"} << int(Mode::Watch) << QStringList {} << "";
        QTest::newRow("help") << QStringList {"-h"} << int(Mode::Help) << QStringList {} << "";
        QTest::newRow("version") << QStringList {"--version"} << int(Mode::Version) << QStringList {} << "";
        QTest::newRow("unknown option") << QStringList {"--lst"} << -1 << QStringList {} << "";
        QTest::newRow("a description without a mode") << QStringList {"Left half"} << -1 << QStringList {} << "";
        QTest::newRow("two modes") << QStringList {"--list", "--windows"} << -1 << QStringList {} << "";
        QTest::newRow("apply without a description") << QStringList {"--apply"} << -1 << QStringList {} << "";
        QTest::newRow("match with two") << QStringList {"--match", "A", "B"} << -1 << QStringList {} << "";
        QTest::newRow("list with a description") << QStringList {"--list", "A"} << -1 << QStringList {} << "";
        QTest::newRow("settings without a file") << QStringList {"--list", "--settings"} << -1 << QStringList {} << "";
        QTest::newRow("settings= without a file") << QStringList {"--settings="} << -1 << QStringList {} << "";
    }

    void parsing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, mode);
        QFETCH(QStringList, descriptions);
        QFETCH(QString, settingsFile);
        const auto parsed = parseArguments(arguments);
        if (mode < 0) {
            QVERIFY(std::holds_alternative<UsageError>(parsed));
            QVERIFY(!std::get<UsageError>(parsed).message.isEmpty());
            return;
        }
        QVERIFY(std::holds_alternative<Invocation>(parsed));
        const Invocation &invocation = std::get<Invocation>(parsed);
        QCOMPARE(int(invocation.mode), mode);
        QCOMPARE(invocation.descriptions, descriptions);
        QCOMPARE(invocation.settingsFile, settingsFile);
    }

    void placementInWords_data()
    {
        QTest::addColumn<cParameters>("entry");
        QTest::addColumn<QString>("words");
        QTest::newRow("the issue's example") << entryWith("e", "", false, 1, 2, 2, 10, 10, 50, 50, true, true, false,
            false, false) << "monitor 2, right +10 px, bottom +10 px, 50% x 50%";
        QTest::newRow("negative percent offsets, pixel size, maximized")
            << entryWith("e", "", false, 0, 1, 1, -5, -7, 800, 600, false, false, true, true, true)
            << "monitor 1, center -5%, center -7%, 800 px x 600 px, maximized";
        QTest::newRow("no monitor chosen, alignments outside the named ones") << entryWith("e", "", false, -1, 7, -1, 0,
            0, 100, 50, true, true, false, false, false) << "primary monitor, left +0 px, top +0 px, 100% x 50%";
    }

    void placementInWords()
    {
        QFETCH(cParameters, entry);
        QFETCH(QString, words);
        QCOMPARE(::placementInWords(entry.placement), words);
    }

    void watchAppliesOncePerWindowUntilTheTitleStopsMatching()
    {
        FakeWindowSystem windowSystem;
        windowSystem.setWindows({{1, "Mail - Notepad", true, false}, {2, "Terminal", true, false}});
        QList<std::pair<WindowId, QString>> applied;
        WatchSession session(
            {entryWith("Notes", "notepad", false, 0, 0, 0, 0, 0, 640, 480, true, true, true, true, false),
                entryWith("Shell", "^Term", true, 0, 2, 0, 0, 0, 300, 200, true, true, true, true, false)},
            windowSystem, [&](const cParameters &entry, const AppliedWindow &a) {
                applied.append({a.window.id, entry.Description});
            });
        const auto watch = windowSystem.watchTopLevelWindows(
            [&](std::optional<std::vector<TopLevelWindow>> windows) { session.windowsChanged(*windows); });
        // Windows open when the watch starts are left as they are.
        QVERIFY(applied.isEmpty());
        QVERIFY(windowSystem.requests.empty());

        // A window that appears and matches; one that never matches; an owned one that would.
        windowSystem.setWindows({{1, "Mail - Notepad", true, false}, {2, "Terminal", true, false},
            {3, "New Notepad", true, false}, {4, "Browser", true, false}, {5, "Notepad dialog", true, true}});
        QCOMPARE(applied, (QList<std::pair<WindowId, QString>> {{3, "Notes"}}));
        QCOMPARE(windowSystem.requests.back().placement.normalRect, QRect(0, 0, 640, 480));

        // Retitled into a match of the other entry; the first keeps its match and is not applied again.
        applied.clear();
        windowSystem.setWindows({{1, "Mail - Notepad", true, false}, {2, "Terminal", true, false},
            {3, "New Notepad - saved", true, false}, {4, "Terminal 2", true, false}});
        QCOMPARE(applied, (QList<std::pair<WindowId, QString>> {{4, "Shell"}}));

        // A title that stops matching and matches again is applied again.
        applied.clear();
        windowSystem.setWindows({{1, "Mail - Notepad", true, false}, {3, "Saving...", true, false}});
        QVERIFY(applied.isEmpty());
        windowSystem.setWindows({{1, "Mail - Notepad", true, false}, {3, "Notepad", true, false}});
        QCOMPARE(applied, (QList<std::pair<WindowId, QString>> {{3, "Notes"}}));
    }

    // Any program sets its title: what reaches the terminal cannot clear it, move the cursor or add a line.
    void windowLineWithHostileTitle_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << "Untitled - Notepad"
                               << "Untitled - Notepad";
        QTest::newRow("escape sequence") << "a\x1b[2Jb"
                                         << "a\\x1b[2Jb";
        QTest::newRow("line break and tab") << "a\nb\tc"
                                            << "a\\x0ab\\x09c";
        QTest::newRow("C1 control") << QStringView(u"a\u009bb").toString() << "a\\x9bb";
        QTest::newRow("backslash kept apart from the escapes") << "C:\\x1b"
                                                               << "C:\\\\x1b";
    }

    void windowLineWithHostileTitle()
    {
        QFETCH(QString, title);
        QFETCH(QString, shown);
        FakeWindowSystem windowSystem;
        windowSystem.setWindows({{7, title, true, false}});
        QString line;
        QTextStream out(&line);
        QVERIFY(printWindow(windowSystem, windowSystem.topLevelWindows().front(), out));
        out.flush();
        QCOMPARE(line, "0x00000007\tmonitor 1\tnormal\t0,0 200x150\t" + shown + '\n');
    }

    // Whatever --watch writes about a window names it as --windows does: 0x and eight digits.
    void watchReportNamesTheWindowAsTheListingDoes_data()
    {
        QTest::addColumn<bool>("landed");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QString>("error");
        QTest::newRow("landed") << true << QString() << QString();
        QTest::newRow("did not land") << false << QString()
                                      << "framewright: window 0x00e00002 (Mail\\x1b) did not take its placement\n";
        QTest::newRow("refused") << false << "no maximized state"
                                 << "framewright: window 0x00e00002 (Mail\\x1b) was not placed: no maximized state\n";
    }

    void watchReportNamesTheWindowAsTheListingDoes()
    {
        QFETCH(bool, landed);
        QFETCH(QString, refusal);
        QFETCH(QString, error);
        FakeWindowSystem windowSystem;
        windowSystem.setWindows({{0xe00002, "Mail\x1b", true, false}});
        AppliedWindow applied {windowSystem.topLevelWindows().front(), QRect(0, 0, 640, 480), landed, refusal};
        QString printed;
        QString errors;
        QTextStream out(&printed);
        QTextStream errorStream(&errors);
        reportApplied(windowSystem, applied, out, errorStream);
        errorStream.flush();
        QCOMPARE(printed, QStringLiteral("0x00e00002\tmonitor 1\tnormal\t0,0 200x150\tMail\\x1b\n"));
        QCOMPARE(errors, error);
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "commandline_test.moc"
