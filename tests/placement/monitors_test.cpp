// The display unit over a fake monitor list: indices outside the list, points on edges, rectangles that fit.
#include "fakewindowsystem.h"
#include "placement/monitors.h"

#include <QTest>

using platform::Monitor;

Q_DECLARE_METATYPE(std::vector<Monitor>)

class MonitorsTest : public QObject
{
    Q_OBJECT

private slots:
    void countNeverBelowOne()
    {
        FakeWindowSystem ws;
        ws.setMonitors({});
        QCOMPARE(GetMonitorCount(ws), 1);
        QCOMPARE(GetMonitorName(ws, 0), QString());
        QCOMPARE(GetAdapterPosition(ws, 0), QPoint(0, 0));
    }

    void listEntries()
    {
        QCOMPARE(monitorListEntry(0, QStringLiteral("DELL U2415")), QStringLiteral("1 - DELL U2415"));
        QCOMPARE(monitorListEntry(1, QString()), QStringLiteral("2 - "));
    }

    void missingIndexGivesMonitorNearestToOneOne_data()
    {
        QTest::addColumn<std::vector<Monitor>>("monitors");
        QTest::addColumn<QRect>("rect");
        QTest::newRow("the monitor holding (1, 1)")
            << std::vector<Monitor> {{"A", QRect(0, 0, 1920, 1080), true}, {"B", QRect(-1280, 0, 1280, 1024), false}}
            << QRect(0, 0, 1920, 1080);
        QTest::newRow("none holds (1, 1): the nearest") << std::vector<Monitor> {{"A", QRect(100, 0, 800, 600), true},
            {"B", QRect(-2000, 0, 800, 600), false}} << QRect(100, 0, 800, 600);
        QTest::newRow("no monitors: empty rectangle") << std::vector<Monitor> {} << QRect();
    }

    void missingIndexGivesMonitorNearestToOneOne()
    {
        QFETCH(std::vector<Monitor>, monitors);
        QFETCH(QRect, rect);
        FakeWindowSystem ws;
        ws.setMonitors(monitors);
        QCOMPARE(GetMonitorRect(ws, 7), rect);
        QCOMPARE(GetMonitorRect(ws, -1), rect);
    }

    void monitorAtPointLowestIndexWinsOnOverlap()
    {
        FakeWindowSystem ws;
        ws.setMonitors({{"A", QRect(0, 0, 1920, 1080), true}, {"Clone", QRect(0, 0, 1920, 1080), false}});
        QCOMPARE(MonitorAtPoint(ws, 2, QPoint(5, 5)), 0);
        // Only the first `monitorCount` monitors are looked at.
        ws.setMonitors({{"A", QRect(0, 0, 100, 100), true}, {"B", QRect(100, 0, 100, 100), false}});
        QCOMPARE(MonitorAtPoint(ws, 1, QPoint(150, 5)), -1);
    }

    void rectFitsFirstOverlappingMonitor_data()
    {
        QTest::addColumn<QPoint>("topLeft");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("fits");
        QTest::newRow("inside the primary") << QPoint(10, 10) << QSize(768, 557) << true;
        QTest::newRow("touching the right edge from inside") << QPoint(1920 - 768, 0) << QSize(768, 557) << true;
        QTest::newRow("one pixel over the edge") << QPoint(1920 - 767, 0) << QSize(768, 557) << false;
        QTest::newRow("never saved") << QPoint(2147483647, 2147483647) << QSize(768, 557) << false;
        QTest::newRow("far edge beyond 32 bits") << QPoint(2147483000, 0) << QSize(768, 557) << false;
        QTest::newRow("nowhere") << QPoint(-5000, -5000) << QSize(768, 557) << false;
    }

    void rectFitsFirstOverlappingMonitor()
    {
        QFETCH(QPoint, topLeft);
        QFETCH(QSize, size);
        QFETCH(bool, fits);
        FakeWindowSystem ws;
        ws.setMonitors({{"A", QRect(0, 0, 1920, 1080), true}, {"B", QRect(1920, 0, 1280, 1024), false}});
        QCOMPARE(RectFitsMonitor(ws, 2, topLeft, size), fits);
    }
};

QTEST_APPLESS_MAIN(MonitorsTest)
#include "monitors_test.moc"
