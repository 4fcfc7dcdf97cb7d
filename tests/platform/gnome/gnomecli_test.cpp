// The command line on a real gnome-shell (tests/support/gnome-session) with real Wayland windows: the framewright
// program is run as a user would run it, and picks the GNOME backend from the session. --windows, --match, --apply
// in pixels and percent on the second monitor and maximized, and --watch for a window that appears later and one
// retitled into a match. Results are read back from the shell with gdbus.
#include "framewrightrun.h"
#include "shellprobe.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Monitor 2 of the session is 1280 x 1024 at (1920, 0); the primary is 1920 x 1080 at the origin.
const QByteArray kSettings = "[General]\nPresetCount=5\nPreset1=Editor right\nPreset2=Pixels\nPreset3=Big\n"
                             "Preset4=Watched\nPreset5=Retitled\n"
                             "[Editor right]\nTitle=gnome editor\nScreenIndex=1\nHorzIndex=2\nHorzValue=10\nHorzPx=1\n"
                             "VertIndex=2\nVertValue=10\nVertPx=1\nWidthValue=50\nHeightValue=50\n"
                             "[Pixels]\nTitle=^Pixel\nRegex=1\nHorzValue=100\nHorzPx=1\nVertValue=50\nVertPx=1\n"
                             "WidthValue=400\nWidthPx=1\nHeightValue=300\nHeightPx=1\n"
                             "[Big]\nTitle=Maximize me\nScreenIndex=1\nWidthValue=50\nHeightValue=50\nMaximized=1\n"
                             "[Watched]\nTitle=^Watched\nRegex=1\nHorzIndex=1\nVertIndex=1\nWidthValue=500\nWidthPx=1\n"
                             "HeightValue=400\nHeightPx=1\n"
                             "[Retitled]\nTitle=renamed into a match\nScreenIndex=1\nWidthValue=25\nHeightValue=25\n";

const QRect kEditorRight(1920 + 1280 - 640 - 10, 1024 - 512 - 10, 640, 512);
const QRect kPixels(100, 50, 400, 300);
const QRect kSecond(1920, 0, 1280, 1024);
const QRect kWatched((1920 - 500) / 2, (1080 - 400) / 2, 500, 400);
const QRect kRetitled(1920, 0, 320, 256);

// The frame of the window of that title as the shell has it, or an empty rectangle.
QRect shellFrame(const QString &title)
{
    const auto window = shellWindow(title);
    return window ? frameOf(*window) : QRect();
}

} // namespace

class GnomeCliTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_client.start());
        m_settings = m_dir.filePath(QStringLiteral("KTZ.ini"));
        QFile file(m_settings);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(kSettings) == kSettings.size());
    }

    void cleanup()
    {
        for (const int window : std::as_const(m_windows)) {
            QVERIFY(m_client.close(window));
        }
        m_windows.clear();
        QTRY_VERIFY(shellJsonArray(QStringLiteral("Windows")).value_or(QJsonArray {QJsonValue()}).isEmpty());
    }

    void listsTheWindowsAsTheShellHasThem()
    {
        open(QStringLiteral("Listed by the shell"));
        open(QStringLiteral("Pixel perfect"));
        const Run run = framewright({"--windows"});
        QCOMPARE(run.status, 0);
        QStringList expected;
        for (const QJsonValue &window : shellJsonArray(QStringLiteral("Windows")).value_or(QJsonArray())) {
            const QRect r = frameOf(window.toObject());
            expected << QStringLiteral("monitor %1\tnormal\t%2,%3 %4x%5\t%6")
                            .arg(r.x() >= 1920 ? 2 : 1)
                            .arg(r.x())
                            .arg(r.y())
                            .arg(r.width())
                            .arg(r.height())
                            .arg(window[QLatin1String("title")].toString());
        }
        QStringList listed;
        for (const QString &line : run.out.split(u'\n', Qt::SkipEmptyParts)) {
            listed << line.section(u'\t', 1);
        }
        QCOMPARE(listed, expected);
        QCOMPARE(listed.size(), 2);
    }

    void matchMovesNothing()
    {
        open(QStringLiteral("Pixel perfect"));
        const QRect before = shellFrame(QStringLiteral("Pixel perfect"));
        const Run run = framewright({"--match", "Pixels"});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.endsWith(QStringLiteral("\tPixel perfect\n")), qPrintable(run.out));
        // By its size, which the entry would change (400 x 300): the shell may still be giving the new window its
        // first position.
        QCOMPARE(shellFrame(QStringLiteral("Pixel perfect")).size(), before.size());
        QCOMPARE(framewright({"--match", "Watched"}).status, 1);
    }

    void apply_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<bool>("maximized");
        QTest::newRow("pixels on the primary") << "Pixel perfect"
                                               << "Pixels" << kPixels << false;
        QTest::newRow("percent, bottom right of the second monitor") << "The GNOME Editor"
                                                                     << "Editor right" << kEditorRight << false;
        QTest::newRow("maximized on the second monitor") << "Maximize me"
                                                         << "Big" << kSecond << true;
    }

    void apply()
    {
        QFETCH(QString, title);
        QFETCH(QString, description);
        QFETCH(QRect, frame);
        QFETCH(bool, maximized);
        open(title);
        const Run run = framewright({"--apply", description});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        const auto window = shellWindow(title);
        QVERIFY(window);
        QCOMPARE(frameOf(*window), frame);
        QCOMPARE((*window)[QLatin1String("maximized")].toBool(), maximized);
        QCOMPARE(framewright({"--apply", "Watched"}).status, 1);
    }

    void watchAppliesToWindowsAsTheyCome()
    {
        const int early = open(QStringLiteral("Watched before the start"));
        const QRect earlyBefore = shellFrame(QStringLiteral("Watched before the start"));
        QProcess watch;
        QByteArray errors = startWatching(watch, {"--settings", m_settings, "--watch", "Watched", "Retitled"});
        QVERIFY2(errors.contains("watching for 2 entries"), errors.constData());

        open(QStringLiteral("Watched and opened later"));
        QTRY_COMPARE_WITH_TIMEOUT(shellFrame(QStringLiteral("Watched and opened later")), kWatched, 20000);
        // Open before the start: not placed. By its size, which the entry would change: the shell may still be giving
        // a new window its first position (at the work area's corner when listed, cascaded a moment later).
        QCOMPARE(shellFrame(QStringLiteral("Watched before the start")).size(), earlyBefore.size());

        const int renamed = open(QStringLiteral("A plain title"));
        QVERIFY(m_client.retitle(renamed, QStringLiteral("Renamed into a match")));
        QTRY_COMPARE_WITH_TIMEOUT(shellFrame(QStringLiteral("Renamed into a match")), kRetitled, 20000);

        watch.terminate();
        QVERIFY(watch.waitForFinished());
        QCOMPARE(watch.exitStatus(), QProcess::NormalExit);
        QCOMPARE(watch.exitCode(), 0);
        Q_UNUSED(early);
    }

private:
    int open(const QString &title)
    {
        const int window = m_client.open(title);
        if (window != 0) {
            m_windows << window;
        }
        return QTest::qWaitFor([&] { return !shellFrame(title).isEmpty(); }, 10000) ? window : 0;
    }

    Run framewright(const QStringList &arguments)
    {
        return runFramewright(QStringList {"--settings", m_settings} + arguments);
    }

    QTemporaryDir m_dir;
    QString m_settings;
    WaylandClient m_client;
    QList<int> m_windows;
};

QTEST_GUILESS_MAIN(GnomeCliTest)
#include "gnomecli_test.moc"
