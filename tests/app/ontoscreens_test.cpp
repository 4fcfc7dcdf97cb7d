// Where a window goes when the monitors change: left alone while it lies wholly on the monitors, else moved the
// shortest way wholly onto one of them.
#include "ontoscreens.h"

#include <QTest>

namespace {

const QRect kPrimary(0, 0, 1920, 1080);
const QRect kSide(1920, 0, 1280, 1024);
const QSize kWindow(776, 591);

} // namespace

class OntoScreensTest : public QObject
{
    Q_OBJECT

private slots:
    void positionOnScreens_data()
    {
        QTest::addColumn<QRect>("outer");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<std::optional<QPoint>>("position");
        const QList<QRect> both {kPrimary, kSide};
        const QList<QRect> primary {kPrimary};
        QTest::newRow("wholly on one monitor stays") << QRect({2100, 200}, kWindow) << both << std::optional<QPoint>();
        QTest::newRow("across two monitors stays") << QRect({1700, 200}, kWindow) << both << std::optional<QPoint>();
        QTest::newRow("filling a monitor exactly stays") << kSide << both << std::optional<QPoint>();
        QTest::newRow("the side monitor gone: pushed left only")
            << QRect({2100, 200}, kWindow) << primary << std::optional<QPoint>({1920 - 776, 200});
        QTest::newRow("77 px left visible: pushed left only")
            << QRect({1843, 200}, kWindow) << primary << std::optional<QPoint>({1920 - 776, 200});
        QTest::newRow("below the shorter monitor: pushed up onto it")
            << QRect({2300, 600}, kWindow) << both << std::optional<QPoint>({2300, 1024 - 591});
        QTest::newRow("in the corner below the shorter monitor: the primary is nearer")
            << QRect({1800, 1000}, QSize(200, 70)) << both << std::optional<QPoint>({1720, 1000});
        QTest::newRow("above and left of the desktop")
            << QRect({-300, -40}, kWindow) << both << std::optional<QPoint>({0, 0});
        QTest::newRow("far right of everything: the side monitor")
            << QRect({5000, 100}, kWindow) << both << std::optional<QPoint>({3200 - 776, 100});
        QTest::newRow("larger than the monitor: its top left corner")
            << QRect({2500, 300}, QSize(2000, 1200)) << primary << std::optional<QPoint>({0, 0});
        QTest::newRow("a tie goes to the first monitor")
            << QRect({1000, 2000}, QSize(100, 100))
            << QList<QRect> {QRect(0, 0, 1000, 1000), QRect(1100, 0, 1000, 1000)} << std::optional<QPoint>({900, 900});
        QTest::newRow("a monitor that is not at the origin")
            << QRect({100, 100}, kWindow) << QList<QRect> {QRect(1920, -200, 1280, 1024)}
            << std::optional<QPoint>({1920, 100});
        QTest::newRow("no screens: left alone")
            << QRect({-5000, 0}, kWindow) << QList<QRect>() << std::optional<QPoint>();
    }

    void positionOnScreens()
    {
        QFETCH(QRect, outer);
        QFETCH(QList<QRect>, screens);
        QFETCH(std::optional<QPoint>, position);
        QCOMPARE(::positionOnScreens(outer, screens), position);
    }
};

QTEST_GUILESS_MAIN(OntoScreensTest)
#include "ontoscreens_test.moc"
