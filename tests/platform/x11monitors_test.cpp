// Monitors on a real X server (the x11-session harness: 1920x1080 primary at 0,0 with an EDID name, and
// 1280x1024 at 1920,0 on an output without one, named by the output). On X11 the list holds the active monitors only,
// so an index never stands for a detached display the way an adapter number could.
#include "placement/monitors.h"
#include "platform/x11/x11windowsystem.h"

#include <QTest>

class X11MonitorsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_windowSystem = platform::x11::X11WindowSystem::open();
        QVERIFY2(m_windowSystem, "no X server: run through tests/support/x11-session");
    }

    void listsBothMonitorsPrimaryFirst()
    {
        const auto monitors = m_windowSystem->monitors();
        QCOMPARE(monitors.size(), size_t(2));
        QCOMPARE(monitors[0], (platform::Monitor {QStringLiteral("FW Test 1920"), QRect(0, 0, 1920, 1080), true}));
        QCOMPARE(monitors[1], (platform::Monitor {QStringLiteral("DUMMY1"), QRect(1920, 0, 1280, 1024), false}));
    }

    // The layout that placing and printing read: the same monitors in the same order, without the names (whose
    // requests make the second round trip).
    void layoutIsTheListWithoutNames()
    {
        std::vector<platform::Monitor> expected = m_windowSystem->monitors();
        for (platform::Monitor &monitor : expected) {
            monitor.name.clear();
        }
        QCOMPARE(m_windowSystem->monitorLayout(), expected);
    }

    void displayUnit()
    {
        auto &ws = *m_windowSystem;
        QCOMPARE(GetMonitorCount(ws), 2);
        QCOMPARE(monitorListEntry(0, GetMonitorName(ws, 0)), QStringLiteral("1 - FW Test 1920"));
        QCOMPARE(monitorListEntry(1, GetMonitorName(ws, 1)), QStringLiteral("2 - DUMMY1"));
        QCOMPARE(GetAdapterPosition(ws, 1), QPoint(1920, 0));
        QCOMPARE(GetMonitorRect(ws, 1), QRect(1920, 0, 1280, 1024));
        QCOMPARE(primaryScreenSize(ws), QSize(1920, 1080));
        // An index that is not in the list stands for the monitor that holds (1, 1).
        QCOMPARE(GetMonitorName(ws, 2), QString());
        QCOMPARE(GetMonitorRect(ws, 2), QRect(0, 0, 1920, 1080));
        QCOMPARE(GetMonitorRect(ws, -1), QRect(0, 0, 1920, 1080));
    }

    void monitorAtPoint_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("monitor");
        QTest::newRow("origin") << QPoint(0, 0) << 0;
        QTest::newRow("last pixel of the primary") << QPoint(1919, 1079) << 0;
        QTest::newRow("right edge of the primary is the side monitor") << QPoint(1920, 0) << 1;
        QTest::newRow("last pixel of the side monitor") << QPoint(3199, 1023) << 1;
        QTest::newRow("right edge of the side monitor") << QPoint(3200, 0) << -1;
        QTest::newRow("bottom edge of the side monitor") << QPoint(2000, 1024) << -1;
        QTest::newRow("gap below the side monitor") << QPoint(1920, 1079) << -1;
        QTest::newRow("left of everything") << QPoint(-1, 10) << -1;
    }

    void monitorAtPoint()
    {
        QFETCH(QPoint, point);
        QFETCH(int, monitor);
        QCOMPARE(MonitorAtPoint(*m_windowSystem, 2, point), monitor);
    }

    void rectFitsMonitor_data()
    {
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<bool>("fits");
        QTest::newRow("wholly on the side monitor") << QRect(2000, 100, 800, 600) << true;
        QTest::newRow("straddling both") << QRect(1800, 100, 800, 600) << false;
        QTest::newRow("reaching into the gap") << QRect(2000, 900, 800, 600) << false;
        QTest::newRow("off every monitor") << QRect(4000, 0, 10, 10) << false;
    }

    void rectFitsMonitor()
    {
        QFETCH(QRect, rect);
        QFETCH(bool, fits);
        QCOMPARE(RectFitsMonitor(*m_windowSystem, 2, rect.topLeft(), rect.size()), fits);
    }

private:
    std::unique_ptr<platform::x11::X11WindowSystem> m_windowSystem;
};

QTEST_GUILESS_MAIN(X11MonitorsTest)
#include "x11monitors_test.moc"
