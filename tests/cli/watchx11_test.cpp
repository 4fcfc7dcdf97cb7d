// framewright --watch on a real X server under each window manager of the matrix (tests/support/x11-session): the
// watch started at the beginning of a session, before any window is open (autostart), places the first window that
// appears, also when only a dock is open; what it prints names the window in the padded id form of --windows.
#include "filebytes.h"
#include "rawx.h"
#include "testclient.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <utility>
#include <vector>

namespace {

const QByteArray kSettings = "[General]\nPresetCount=1\nPreset1=Watched\n"
                             "[Watched]\nTitle=^Watched\nRegex=1\nHorzIndex=1\nVertIndex=1\nWidthValue=500\nWidthPx=1\n"
                             "HeightValue=400\nHeightPx=1\n";
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
        watch.start(QStringLiteral(FRAMEWRIGHT_PROGRAM), {"--settings", m_settings, "--watch"});
        QVERIFY(watch.waitForStarted());
        QByteArray errors;
        QTRY_VERIFY((errors += watch.readAllStandardError()).contains("watching for 1 entry"));

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

private:
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
