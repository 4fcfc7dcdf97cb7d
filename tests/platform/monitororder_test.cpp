// The order of the monitor list: primary first, then by position; a primary is always chosen.
#include "platform/monitororder.h"

#include <QTest>

using platform::Monitor;

Q_DECLARE_METATYPE(std::vector<Monitor>)

class MonitorOrderTest : public QObject
{
    Q_OBJECT

private slots:
    void order_data()
    {
        QTest::addColumn<std::vector<Monitor>>("monitors");
        QTest::addColumn<QStringList>("names");
        const QRect a(0, 0, 1920, 1080);
        const QRect b(1920, 0, 1280, 1024);
        const QRect left(-1280, 0, 1280, 1024);
        const QRect below(0, 1080, 1920, 1080);
        QTest::newRow("primary already first")
            << std::vector<Monitor> {{"A", a, true}, {"B", b, false}} << QStringList {"A", "B"};
        QTest::newRow("primary on the right comes first")
            << std::vector<Monitor> {{"A", a, false}, {"B", b, true}} << QStringList {"B", "A"};
        QTest::newRow("others by x then y")
            << std::vector<Monitor> {{"D", below, false}, {"B", b, false}, {"L", left, false}, {"A", a, true}}
            << QStringList {"A", "L", "D", "B"};
        QTest::newRow("no primary: the one at the origin")
            << std::vector<Monitor> {{"L", left, false}, {"A", a, false}} << QStringList {"A", "L"};
        QTest::newRow("no primary and none at the origin: first by position") << std::vector<Monitor> {
            {"B", b, false}, {"L", QRect(-1280, 5, 1280, 1024), false}} << QStringList {"L", "B"};
    }

    void order()
    {
        QFETCH(std::vector<Monitor>, monitors);
        QFETCH(QStringList, names);
        platform::orderMonitors(monitors);
        QStringList got;
        for (const auto &m : monitors) {
            got << m.name;
        }
        QCOMPARE(got, names);
        QVERIFY(monitors.front().primary);
        QCOMPARE(std::count_if(monitors.begin(), monitors.end(), [](const Monitor &m) { return m.primary; }), 1);
    }

    void emptyStaysEmpty()
    {
        std::vector<Monitor> none;
        platform::orderMonitors(none);
        QVERIFY(none.empty());
    }
};

QTEST_APPLESS_MAIN(MonitorOrderTest)
#include "monitororder_test.moc"
