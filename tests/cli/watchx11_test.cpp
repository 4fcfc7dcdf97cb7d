// framewright --watch on a real X server under each window manager of the matrix (tests/support/x11-session): the
// watch started at the beginning of a session, before any window is open (autostart), places the first window that
// appears, also when only a dock is open; what it prints names the window in the padded id form of --windows; and it
// keeps the restore records other runs left on the windows it sees up to date.
#include "filebytes.h"
#include "framewrightrun.h"
#include "rawx.h"
#include "testclient.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <utility>
#include <vector>

namespace {

const QByteArray kSettings = "[General]\nPresetCount=2\nPreset1=Watched\nPreset2=Maximized\n"
                             "[Watched]\nTitle=^Watched\nRegex=1\nHorzIndex=1\nVertIndex=1\nWidthValue=500\nWidthPx=1\n"
                             "HeightValue=400\nHeightPx=1\n"
                             "[Maximized]\nTitle=Maximizable\nHorzValue=100\nHorzPx=1\nVertValue=100\nVertPx=1\n"
                             "WidthValue=800\nWidthPx=1\nHeightValue=600\nHeightPx=1\nMaximized=1\n";
const QRect kWatched((1920 - 500) / 2, (1080 - 400) / 2, 500, 400);

} // namespace

class WatchX11Test : public QObject
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

    // A failed row leaves no window behind for the next one, which needs an empty desktop.
    void cleanup()
    {
        for (const quint32 window : std::exchange(m_opened, {})) {
            destroy(window);
        }
    }

    void placesTheFirstWindowOfTheSession_data()
    {
        QTest::addColumn<bool>("withDock");
        QTest::newRow("nothing open") << false;
        QTest::newRow("only a dock open") << true;
    }

    void placesTheFirstWindowOfTheSession()
    {
        QFETCH(bool, withDock);
        QTRY_VERIFY2(m_raw.stackingTopmostFirst().empty(), "the session should start without windows");
        if (withDock) {
            openDock();
            if (QTest::currentTestFailed()) {
                return;
            }
        }

        QProcess watch;
        QByteArray errors = startWatching(watch, {"--settings", m_settings, "--watch"});
        QVERIFY2(errors.contains("watching for 2 entries"), errors.constData());

        const quint32 window = m_client.openWindow("pos=40,600 size=300x200 -- Watched from the start");
        QVERIFY(window != 0);
        m_opened.push_back(window);
        QTRY_COMPARE(m_raw.outerFromExtents(window).value_or(QRect()), kWatched);
        QByteArray printed;
        QTRY_VERIFY((printed += watch.readAllStandardOutput()).contains('\n'));
        const QString line = QString::fromUtf8(printed);
        QVERIFY2(line.startsWith(hexId(window) + u'\t'), qPrintable(line));

        watch.terminate();
        QVERIFY(watch.waitForFinished());
        QCOMPARE(watch.exitCode(), 0);
        errors += watch.readAllStandardError();
        // Every window id the watch wrote has the eight digits of --windows.
        const QRegularExpression unpadded(QStringLiteral("\\b0x[0-9a-f]{1,7}\\b"));
        const QString written = QString::fromUtf8(printed + errors);
        QVERIFY2(!unpadded.match(written).hasMatch(), qPrintable(written));
    }

    // A window another run maximized, then restored, moved and maximized again by other hands while the watch
    // runs: the watch follows the record that run left, so that no later run reads its rectangle back.
    void keepsTheRecordsOfOtherRunsUpToDate()
    {
        const quint32 window = m_client.openWindow("pos=300,300 size=300x200 -- Maximizable");
        QVERIFY(window != 0);
        m_opened.push_back(window);
        QTRY_VERIFY(m_raw.wmState(window) == 1 && m_raw.listed(window));
        QCOMPARE(runFramewright({"--settings", m_settings, "--apply", "Maximized"}).status, 0);
        QVERIFY(m_raw.maximized(window));
        QCOMPARE(m_raw.values(window, "_FRAMEWRIGHT_RESTORE_RECT").size(), size_t(8));
        QVERIFY(windowsLine(window).contains("\t100,100 800x600\t"));

        // Its first listing, before the line, follows the windows that carry a record.
        QProcess watch;
        QByteArray errors = startWatching(watch, {"--settings", m_settings, "--watch", "Watched"});
        QVERIFY2(errors.contains("watching for 1 entry"), errors.constData());

        const QRect maximized = m_raw.outerFromFrame(window).value_or(QRect());
        m_raw.setMaximized(window, false);
        // At rest: openbox moves the frame and the client one after the other.
        QTRY_VERIFY(!m_raw.maximized(window) && m_raw.outerFromFrame(window) == m_raw.outerFromExtents(window)
            && m_raw.outerFromFrame(window)->size() != maximized.size());
        QTRY_VERIFY(m_raw.values(window, "_FRAMEWRIGHT_RESTORE_RECT").empty()); // the watch saw it
        const QRect restored = m_raw.outerFromFrame(window).value_or(QRect());
        m_raw.sendMessage(window, "_NET_MOVERESIZE_WINDOW", {(1 << 8) | (1 << 9) | (1 << 12), 500, 300, 0, 0});
        QTRY_VERIFY(m_raw.outerFromFrame(window).value_or(QRect()).topLeft() != restored.topLeft());
        m_raw.setMaximized(window, true);
        QTRY_VERIFY(m_raw.maximized(window) && m_raw.outerFromFrame(window) == m_raw.outerFromExtents(window)
            && m_raw.outerFromFrame(window)->size() != restored.size());

        const QRect r = *m_raw.outerFromFrame(window);
        QTRY_VERIFY(windowsLine(window).contains(
            QStringLiteral("\tmaximized\t%1,%2 %3x%4\t").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height())));
        watch.terminate();
        QVERIFY(watch.waitForFinished());
    }

private:
    // The line --windows prints for the window.
    QString windowsLine(quint32 window)
    {
        const Run run = runFramewright({"--settings", m_settings, "--windows"});
        for (const QString &line : run.out.split(u'\n')) {
            if (line.startsWith(hexId(window))) {
                return line;
            }
        }
        return QString();
    }

    // A panel: a window of the dock type, mapped and shown by the window manager.
    void openDock()
    {
        const quint32 dock = m_client.openWindow("unmapped pos=0,1050 size=1920x30 -- A panel");
        const QByteArray id = "0x" + QByteArray::number(dock, 16);
        if (dock != 0) {
            m_opened.push_back(dock);
        }
        if (dock == 0 || !m_client.command("prop " + id + " _NET_WM_WINDOW_TYPE ATOM 32 _NET_WM_WINDOW_TYPE_DOCK")
            || !m_client.command("map " + id) || !QTest::qWaitFor([&] { return m_raw.viewable(dock); })) {
            QTest::qFail("the dock was not opened", __FILE__, __LINE__);
        }
    }

    void destroy(quint32 window)
    {
        if (!m_client.command("destroy 0x" + QByteArray::number(window, 16))
            || !QTest::qWaitFor([&] { return !m_raw.exists(window) && !m_raw.listed(window); })) {
            QTest::qFail("the test window was not destroyed", __FILE__, __LINE__);
        }
    }

    static QString hexId(quint32 window) { return QStringLiteral("0x%1").arg(window, 8, 16, QLatin1Char('0')); }

    QTemporaryDir m_dir;
    QString m_settings;
    RawX m_raw;
    TestClient m_client;
    std::vector<quint32> m_opened;
};

QTEST_GUILESS_MAIN(WatchX11Test)
#include "watchx11_test.moc"
