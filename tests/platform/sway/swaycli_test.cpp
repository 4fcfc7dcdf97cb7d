// The command line on a private headless sway (tests/support/sway-session) with Qt windows and gtk3-demo: framewright
// is run as a user would run it. Listing windows, matching, applying in pixels and percent on the second output, the
// refusal of a maximized entry, watching for a window that appears later and one retitled into a match. Results are
// read back through sway's own IPC.
#include "filebytes.h"
#include "framewrightrun.h"
#include "rawsway.h"
#include "waylandclients.h"

#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

// Monitor 2 is HEADLESS-2, 1280 x 1024 at (1920, 0); monitor 1 HEADLESS-1, 1920 x 1080 at the origin.
const QByteArray kSettings
    = "[General]\nPresetCount=8\nPreset1=Notes right\nPreset2=Pixels\nPreset3=Nothing\n"
      "Preset4=Maximized notes\nPreset5=Watched\nPreset6=Retitled\nPreset7=Demo right\n"
      "Preset8=Frozen\n"
      "[Notes right]\nTitle=notepad\nScreenIndex=1\nHorzIndex=2\nHorzValue=10\nHorzPx=1\n"
      "VertIndex=2\nVertValue=10\nVertPx=1\nWidthValue=50\nHeightValue=50\n"
      "[Pixels]\nTitle=^Untitled\nRegex=1\nScreenIndex=1\nHorzValue=100\nHorzPx=1\nVertValue=50\n"
      "VertPx=1\nWidthValue=400\nWidthPx=1\nHeightValue=300\nHeightPx=1\n"
      "[Nothing]\nTitle=no window has this title\n"
      "[Maximized notes]\nTitle=notepad\nMaximized=1\nWidthValue=50\nHeightValue=50\n"
      "[Watched]\nTitle=^Watched\nRegex=1\nHorzIndex=1\nVertIndex=1\nWidthValue=500\nWidthPx=1\n"
      "HeightValue=400\nHeightPx=1\n"
      "[Retitled]\nTitle=renamed into a match\nScreenIndex=1\nWidthValue=25\nHeightValue=25\n"
      "[Demo right]\nTitle=Application Class\nScreenIndex=1\nHorzIndex=2\nHorzValue=10\nHorzPx=1\n"
      "VertIndex=2\nVertValue=10\nVertPx=1\nWidthValue=50\nHeightValue=50\n"
      "[Frozen]\nTitle=stopped program\nScreenIndex=1\nWidthValue=40\nHeightValue=40\n";

const QRect kNotesRight(1920 + 1280 - 640 - 10, 1024 - 512 - 10, 640, 512);
const QRect kPixels(1920 + 100, 50, 400, 300);
const QRect kWatched((1920 - 500) / 2, (1080 - 400) / 2, 500, 400);
const QRect kRetitled(1920, 0, 320, 256);

// A line of --windows without its first column (handles are the listing process's own).
QString windowLine(const RawView &view)
{
    const QRect &r = view.outer;
    return QStringLiteral("monitor %1\tnormal\t%2,%3 %4x%5\t%6")
        .arg(r.x() >= 1920 ? 2 : 1)
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height())
        .arg(view.title);
}

QStringList withoutIds(const QString &out)
{
    QStringList lines;
    for (const QString &line : out.split(u'\n', Qt::SkipEmptyParts)) {
        lines << line.section(u'\t', 1);
    }
    return lines;
}

} // namespace

class SwayCliTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(m_raw.connect(), "no sway: run through tests/support/sway-session");
        QVERIFY2(m_client.start(), qPrintable(m_client.lastError()));
        m_settings = m_dir.filePath(QStringLiteral("KTZ.ini"));
        writeAll(m_settings, kSettings);
    }

    void cleanup() { QCOMPARE(readAll(m_settings), kSettings); } // only read, whatever the mode

    void listsTheWindowsAsSwayHasThem()
    {
        QVERIFY(openMapped(m_client, m_raw, "Untitled - Notepad"));
        QVERIFY(openMapped(m_client, m_raw, "A window of its own"));
        const Run run = framewright({"--windows"});
        QCOMPARE(run.status, 0);
        const QStringList listed = withoutIds(run.out);
        QVERIFY2(listed.contains(windowLine(*m_raw.view("Untitled - Notepad"))), qPrintable(run.out));
        QVERIFY2(listed.contains(windowLine(*m_raw.view("A window of its own"))), qPrintable(run.out));
        QVERIFY(run.err.isEmpty());
    }

    void matchMovesNothing()
    {
        const std::optional<int> number = openMapped(m_client, m_raw, "notepad to match");
        QVERIFY(number);
        const RawView before = *m_raw.view("notepad to match");
        const Run run = framewright({"--match", "NOTES RIGHT"});
        QCOMPARE(run.status, 0);
        QVERIFY2(withoutIds(run.out).contains(windowLine(before)), qPrintable(run.out));
        QCOMPARE(m_raw.view("notepad to match")->outer, before.outer);
        QCOMPARE(framewright({"--match", "Nothing"}).status, 1);
        QVERIFY(m_client.command(QStringLiteral("close %1").arg(*number)));
    }

    void apply_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("percent of the second output") << "Notes right"
                                                      << "My notepad" << kNotesRight;
        QTest::newRow("pixels on the second output") << "Pixels"
                                                     << "Untitled page" << kPixels;
    }

    void apply()
    {
        QFETCH(QString, entry);
        QFETCH(QString, title);
        QFETCH(QRect, expected);
        QVERIFY(openMapped(m_client, m_raw, title));
        const Run run = framewright({"--apply", entry});
        QCOMPARE(run.status, 0);
        const RawView placed = *m_raw.view(title);
        QCOMPARE(placed.outer, expected);
        QVERIFY(placed.floating);
        QVERIFY2(withoutIds(run.out).contains(windowLine(placed)), qPrintable(run.out));
        QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
    }

    // Client-side decorations: gtk3-demo, tiled when it starts, ends at the entry's rectangle and stays there.
    void applyToAGtkWindow()
    {
        GtkDemo gtk;
        QVERIFY(gtk.start());
        QTRY_VERIFY_WITH_TIMEOUT(m_raw.view(GtkDemo::kTitle), 20000);
        const Run run = framewright({"--apply", "Demo right"});
        QCOMPARE(run.status, 0);
        const RawView placed = *m_raw.view(GtkDemo::kTitle);
        QCOMPARE(placed.outer, kNotesRight);
        QVERIFY(placed.floating);
        QVERIFY2(withoutIds(run.out).contains(windowLine(placed)), qPrintable(run.out));
        QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
    }

    // A program that is stopped never answers: the placement is not reported as done.
    void applyToAProgramThatDoesNotAnswer()
    {
        QtClient stopped;
        QVERIFY(stopped.start());
        QVERIFY(openMapped(stopped, m_raw, "A stopped program"));
        const pid_t pid = pid_t(stopped.pid());
        QCOMPARE(::kill(pid, SIGSTOP), 0);
        const auto resume = qScopeGuard([pid] { ::kill(pid, SIGCONT); });
        const Run run = framewright({"--apply", "Frozen"});
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains("did not take"), qPrintable(run.err));
    }

    void applyWithoutAMatch() { QCOMPARE(framewright({"--apply", "Nothing"}).status, 1); }

    void maximizedIsRefused()
    {
        QVERIFY(openMapped(m_client, m_raw, "notepad never maximized"));
        const QRect before = m_raw.view("notepad never maximized")->outer;
        const Run run = framewright({"--apply", "Maximized notes"});
        QCOMPARE(run.status, 2);
        QCOMPARE(run.err.count(u'\n'), 1);
        QVERIFY2(run.err.contains("sway has no maximized state"), qPrintable(run.err));
        QVERIFY2(run.err.contains("Maximized notes"), qPrintable(run.err));
        QCOMPARE(m_raw.view("notepad never maximized")->outer, before);
    }

    void watchAppliesToWindowsAsTheyComeAndEndsOnSigterm()
    {
        QVERIFY(openMapped(m_client, m_raw, "Watched before the start"));
        const QRect earlyBefore = m_raw.view("Watched before the start")->outer;
        QProcess watch;
        QByteArray errors = startWatching(watch, {"--settings", m_settings, "--watch", "Watched", "Retitled"});
        QVERIFY2(errors.contains("watching for 2 entries"), errors.constData());

        QVERIFY(openMapped(m_client, m_raw, "Watched and opened later"));
        QTRY_COMPARE(m_raw.view("Watched and opened later")->outer, kWatched);
        QCOMPARE(m_raw.view("Watched before the start")->outer, earlyBefore); // open before the start: left alone

        const std::optional<int> number = openMapped(m_client, m_raw, "A plain title");
        QVERIFY(number);
        QVERIFY(m_client.command(QStringLiteral("title %1 -- Renamed into a match").arg(*number)));
        QTRY_VERIFY(m_raw.view("Renamed into a match") && m_raw.view("Renamed into a match")->outer == kRetitled);

        watch.terminate();
        QVERIFY(watch.waitForFinished());
        QCOMPARE(watch.exitStatus(), QProcess::NormalExit);
        QCOMPARE(watch.exitCode(), 0);
    }

private:
    Run framewright(const QStringList &arguments)
    {
        return runFramewright(QStringList {"--settings", m_settings} + arguments);
    }

    QTemporaryDir m_dir;
    QString m_settings;
    RawSway m_raw;
    QtClient m_client;
};

QTEST_GUILESS_MAIN(SwayCliTest)
#include "swaycli_test.moc"
