// The target rectangle from placement values: percent truncation, alignments and offsets, the monitor origin, and
// the point a window that cannot take the size keeps.
#include "placement/placementarithmetic.h"

#include <QTest>

Q_DECLARE_METATYPE(Placement)
Q_DECLARE_METATYPE(PlacementRect)

namespace {

enum { Left = 0, Center = 1, Right = 2, Top = 0, Bottom = 2 };

Measure measure(int value, bool pixels)
{
    return {value, pixels ? Unit::Pixels : Unit::Percent};
}

Placement values(int horzIndex, int horzValue, bool horzPx, int vertIndex, int vertValue, bool vertPx, int width,
    bool widthPx, int height, bool heightPx)
{
    Placement placement;
    placement.horzAlignment = HorzAlignment(horzIndex);
    placement.horzOffset = measure(horzValue, horzPx);
    placement.vertAlignment = VertAlignment(vertIndex);
    placement.vertOffset = measure(vertValue, vertPx);
    placement.width = measure(width, widthPx);
    placement.height = measure(height, heightPx);
    return placement;
}

} // namespace

class PlacementArithmeticTest : public QObject
{
    Q_OBJECT

private slots:
    void rect_data()
    {
        QTest::addColumn<Placement>("input");
        QTest::addColumn<QRect>("monitor");
        QTest::addColumn<PlacementRect>("expected");
        const QRect side(1920, 0, 1280, 1024);
        const QRect laptop(0, 0, 1366, 768);
        QTest::newRow("worked example: centred half of the side monitor") << values(Center, 0, false, Center, 0, false,
            50, false, 50, false) << side << PlacementRect {2240, 256, 640, 512, Qt::AlignCenter};
        QTest::newRow("worked example: right, 10 px offset, 800 px wide") << values(Right, 10, true, Left, 0, true, 800,
            true, 600, true) << side << PlacementRect {2390, 0, 800, 600, Qt::AlignRight | Qt::AlignTop};
        QTest::newRow("33 % of 1366 truncates to 450")
            << values(Left, 33, false, Left, 0, true, 33, false, 10, true) << laptop << PlacementRect {450, 0, 450, 10};
        QTest::newRow("-33 % of 1366 truncates toward zero to -450") << values(Left, -33, false, Left, -33, false, 10,
            true, 10, true) << laptop << PlacementRect {-450, -253, 10, 10};
        QTest::newRow("centre of odd free space 201 gives 100") << values(Center, 0, true, Center, 0, true, 1165, true,
            567, true) << laptop << PlacementRect {100, 100, 1165, 567, Qt::AlignCenter};
        QTest::newRow("centre of odd free space -201 gives -100") << values(Center, 0, true, Center, 0, true, 1567,
            true, 969, true) << laptop << PlacementRect {-100, -100, 1567, 969, Qt::AlignCenter};
        QTest::newRow("centre with a 100 px offset moves left by half of it")
            << values(Center, 100, true, Top, 0, true, 640, true, 480, true) << QRect(0, 0, 1280, 1024)
            << PlacementRect {270, 0, 640, 480, Qt::AlignHCenter | Qt::AlignTop};
        QTest::newRow("right with offset 0 touches the right edge")
            << values(Right, 0, true, Bottom, 0, true, 300, true, 200, true) << side
            << PlacementRect {1920 + 1280 - 300, 1024 - 200, 300, 200, Qt::AlignRight | Qt::AlignBottom};
        QTest::newRow("bottom with a positive offset moves inward") << values(Left, 0, true, Bottom, 24, true, 300,
            true, 200, true) << laptop << PlacementRect {0, 768 - 200 - 24, 300, 200, Qt::AlignLeft | Qt::AlignBottom};
        QTest::newRow("percent offsets of the side monitor") << values(Left, 10, false, Top, 10, false, 25, false, 25,
            false) << side << PlacementRect {2048, 102, 320, 256};
        QTest::newRow("no alignment selected acts as left and top")
            << values(-1, 5, true, -1, 6, true, 100, true, 100, true) << side << PlacementRect {1925, 6, 100, 100};
        QTest::newRow("zero width is passed on")
            << values(Left, 0, true, Top, 0, true, 0, true, 100, true) << laptop << PlacementRect {0, 0, 0, 100};
        QTest::newRow("larger than the monitor is not clamped") << values(Center, 0, true, Center, 0, true, 500, false,
            500, false) << laptop << PlacementRect {-2732, -1536, 6830, 3840, Qt::AlignCenter};
    }

    void rect()
    {
        QFETCH(Placement, input);
        QFETCH(QRect, monitor);
        QFETCH(PlacementRect, expected);
        const PlacementRect got = computePlacementRect(input, monitor);
        QCOMPARE(got.left, expected.left);
        QCOMPARE(got.top, expected.top);
        QCOMPARE(got.width, expected.width);
        QCOMPARE(got.height, expected.height);
        QCOMPARE(got.anchor, expected.anchor);
    }
};

QTEST_APPLESS_MAIN(PlacementArithmeticTest)
#include "placementarithmetic_test.moc"
