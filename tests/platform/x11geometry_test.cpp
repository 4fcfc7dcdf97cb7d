// Placement geometry: outer rectangles, size hints applied as window managers apply them, and the reference point
// of every gravity (ICCCM 4.1.2.3) for a frame and a client-side decoration.
#include "platform/x11/x11geometry.h"

#include <QTest>

using namespace platform::x11;

namespace {

// A frame like openbox's: 1 px sides, a 20 px title bar, a 4 px handle.
const Extents kFrame {1, 1, 20, 4};

SizeHints hints(QList<int> values) // min w, h, max w, h, base w, h (-1: none), increment w, h
{
    SizeHints h;
    const auto optional = [](int v) { return v < 0 ? std::nullopt : std::optional<int>(v); };
    h.minWidth = optional(values[0]);
    h.minHeight = optional(values[1]);
    h.maxWidth = optional(values[2]);
    h.maxHeight = optional(values[3]);
    h.baseWidth = optional(values[4]);
    h.baseHeight = optional(values[5]);
    h.widthIncrement = values[6];
    h.heightIncrement = values[7];
    return h;
}

} // namespace

Q_DECLARE_METATYPE(platform::x11::Decoration)
Q_DECLARE_METATYPE(platform::x11::ClientRequest)

class X11GeometryTest : public QObject
{
    Q_OBJECT

private slots:
    void outerRect_data();
    void outerRect();
    void constrainedSize_data();
    void constrainedSize();
    void keptAspect_data();
    void keptAspect();
    void aspectRounding_data();
    void aspectRounding();
    void expectedOuterRect_data();
    void expectedOuterRect();
    void clientRequest_data();
    void clientRequest();
};

void X11GeometryTest::outerRect_data()
{
    QTest::addColumn<Decoration>("decoration");
    QTest::addColumn<QRect>("client");
    QTest::addColumn<QRect>("outer");

    QTest::newRow("no frame") << Decoration {} << QRect(10, 20, 300, 200) << QRect(10, 20, 300, 200);
    QTest::newRow("frame") << Decoration {kFrame, {}, 0} << QRect(10, 20, 300, 200) << QRect(9, 0, 302, 224);
    QTest::newRow("client border") << Decoration {{}, {}, 2} << QRect(10, 20, 300, 200) << QRect(8, 18, 304, 204);
    QTest::newRow("client-side margins") << Decoration {{}, {10, 20, 30, 40}, 0} << QRect(100, 100, 400, 300)
                                         << QRect(110, 130, 370, 230);
    QTest::newRow("frame and client-side margins")
        << Decoration {kFrame, {5, 5, 5, 5}, 0} << QRect(100, 100, 400, 300) << QRect(104, 85, 392, 314);
}

void X11GeometryTest::outerRect()
{
    QFETCH(Decoration, decoration);
    QFETCH(QRect, client);
    QFETCH(QRect, outer);
    QCOMPARE(platform::x11::outerRect(client, decoration), outer);
}

void X11GeometryTest::constrainedSize_data()
{
    QTest::addColumn<QList<int>>("hintValues");
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<QSize>("size");

    QTest::newRow("no hints") << QList<int> {-1, -1, -1, -1, -1, -1, 1, 1} << QSize(640, 480) << QSize(640, 480);
    QTest::newRow("increments from the base, rounded down")
        << QList<int> {-1, -1, -1, -1, 4, 6, 10, 20} << QSize(799, 599) << QSize(794, 586);
    QTest::newRow("increments from the minimum when there is no base")
        << QList<int> {40, 40, -1, -1, -1, -1, 16, 16} << QSize(500, 500) << QSize(488, 488);
    QTest::newRow("base stands in for a missing minimum")
        << QList<int> {-1, -1, -1, -1, 50, 60, 1, 1} << QSize(10, 10) << QSize(50, 60);
    QTest::newRow("maximum") << QList<int> {-1, -1, 400, 300, -1, -1, 1, 1} << QSize(800, 600) << QSize(400, 300);
    QTest::newRow("minimum") << QList<int> {200, 100, -1, -1, -1, -1, 1, 1} << QSize(20, 10) << QSize(200, 100);
    QTest::newRow("minimum wins over a smaller maximum")
        << QList<int> {300, 300, 200, 200, -1, -1, 1, 1} << QSize(250, 250) << QSize(300, 300);
    QTest::newRow("increments after the maximum")
        << QList<int> {-1, -1, 405, 305, 0, 0, 10, 10} << QSize(999, 999) << QSize(400, 300);
    QTest::newRow("zero becomes one pixel") << QList<int> {-1, -1, -1, -1, -1, -1, 1, 1} << QSize(0, 0) << QSize(1, 1);
    QTest::newRow("negative becomes one pixel")
        << QList<int> {-1, -1, -1, -1, -1, -1, 1, 1} << QSize(-50, -1) << QSize(1, 1);
    QTest::newRow("beyond the X limit") << QList<int> {-1, -1, -1, -1, -1, -1, 1, 1} << QSize(100000, 40000)
                                        << QSize(kMaxClientSizePx, kMaxClientSizePx);
}

void X11GeometryTest::constrainedSize()
{
    QFETCH(QList<int>, hintValues);
    QFETCH(QSize, requested);
    QFETCH(QSize, size);
    QCOMPARE(constrainedClientSize(hints(hintValues), requested), size);
}

void X11GeometryTest::keptAspect_data()
{
    QTest::addColumn<QSize>("minAspect"); // invalid: none
    QTest::addColumn<QSize>("maxAspect");
    QTest::addColumn<QSize>("base"); // invalid: none
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<QSize>("size");

    const QSize none;
    const QSize wide(16, 9);
    QTest::newRow("too tall: the height its width allows")
        << wide << wide << none << QSize(960, 1080) << QSize(960, 540);
    QTest::newRow("too wide: the width its height allows, then the height that gives")
        << wide << wide << none << QSize(1920, 500) << QSize(888, 499);
    QTest::newRow("width not a multiple: the height rounded down")
        << wide << wide << none << QSize(1000, 1080) << QSize(1000, 562);
    QTest::newRow("within the range: as asked") << QSize(4, 3) << wide << none << QSize(800, 500) << QSize(800, 500);
    QTest::newRow("range, too tall") << QSize(4, 3) << wide << none << QSize(800, 900) << QSize(800, 600);
    QTest::newRow("range, too wide") << QSize(4, 3) << wide << none << QSize(1920, 360) << QSize(640, 360);
    QTest::newRow("minimum alone") << QSize(1, 1) << none << none << QSize(300, 700) << QSize(300, 300);
    QTest::newRow("maximum alone") << none << QSize(1, 2) << none << QSize(300, 200) << QSize(100, 200);
    QTest::newRow("the base size is left out")
        << QSize(1, 1) << QSize(1, 1) << QSize(20, 60) << QSize(420, 960) << QSize(420, 460);
    QTest::newRow("never below one pixel")
        << QSize(1000, 1) << QSize(1000, 1) << none << QSize(10, 500) << QSize(10, 1);
    QTest::newRow("extreme ratio within the X limit")
        << QSize(1, 65535) << QSize(1, 65535) << none << QSize(2, 100000) << QSize(1, kMaxClientSizePx);
}

void X11GeometryTest::keptAspect()
{
    QFETCH(QSize, minAspect);
    QFETCH(QSize, maxAspect);
    QFETCH(QSize, base);
    QFETCH(QSize, requested);
    QFETCH(QSize, size);
    SizeHints hints;
    const auto aspect = [](QSize s) {
        return s.isValid() ? std::optional<AspectRatio>({s.width(), s.height()}) : std::nullopt;
    };
    hints.minAspect = aspect(minAspect);
    hints.maxAspect = aspect(maxAspect);
    if (base.isValid()) {
        hints.baseWidth = base.width();
        hints.baseHeight = base.height();
    }
    QCOMPARE(constrainedClientSize(hints, requested), size);
}

void X11GeometryTest::aspectRounding_data()
{
    QTest::addColumn<bool>("hasAspect");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QSize>("expected");
    QTest::addColumn<bool>("taken");

    QTest::newRow("as expected") << true << QSize(888, 499) << QSize(888, 499) << true;
    QTest::newRow("a pixel narrower") << true << QSize(887, 499) << QSize(888, 499) << true;
    QTest::newRow("a pixel taller, still the ratio") << true << QSize(960, 541) << QSize(960, 540) << true;
    QTest::newRow("two pixels off") << true << QSize(886, 499) << QSize(888, 499) << false;
    QTest::newRow("a pixel off and out of the ratio") << true << QSize(20, 21) << QSize(21, 21) << false;
    QTest::newRow("no aspect range: exact only") << false << QSize(887, 499) << QSize(888, 499) << false;
}

void X11GeometryTest::aspectRounding()
{
    QFETCH(bool, hasAspect);
    QFETCH(QSize, client);
    QFETCH(QSize, expected);
    QFETCH(bool, taken);
    SizeHints hints;
    if (hasAspect) {
        hints.minAspect = AspectRatio {16, 9};
        hints.maxAspect = AspectRatio {16, 9};
    }
    QCOMPARE(withinAspectRounding(hints, client, expected), taken);
}

void X11GeometryTest::expectedOuterRect_data()
{
    QTest::addColumn<QList<int>>("hintValues");
    QTest::addColumn<Decoration>("decoration");
    QTest::addColumn<QRect>("target");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<QRect>("expected");

    const QList<int> none {-1, -1, -1, -1, -1, -1, 1, 1};
    const QList<int> fixed300x200 {300, 200, 300, 200, -1, -1, 1, 1};
    const QList<int> increments {-1, -1, -1, -1, 4, 6, 10, 20};
    const int topLeft = Qt::AlignLeft | Qt::AlignTop;
    const int bottomRight = Qt::AlignRight | Qt::AlignBottom;
    const int centre = Qt::AlignCenter;
    const auto row = [](const char *name, QList<int> hints, Decoration d, QRect target, int anchor, QRect expected) {
        QTest::newRow(name) << hints << d << target << anchor << expected;
    };
    row("plain", none, {kFrame, {}, 0}, QRect(100, 100, 800, 600), topLeft, QRect(100, 100, 800, 600));
    row("plain, any anchor", none, {kFrame, {}, 0}, QRect(100, 100, 800, 600), centre, QRect(100, 100, 800, 600));
    row("increments keep the corner", increments, {kFrame, {}, 0}, QRect(100, 100, 800, 600), topLeft,
        QRect(100, 100, 796, 590));
    row("increments keep the right and bottom edges", increments, {kFrame, {}, 0}, QRect(100, 100, 800, 600),
        bottomRight, QRect(104, 110, 796, 590));
    // 800 - 302 = 498 and 600 - 224 = 376 are free; each half truncates toward zero.
    row("fixed size, centred", fixed300x200, {kFrame, {}, 0}, QRect(100, 100, 800, 600), centre,
        QRect(349, 288, 302, 224));
    row("fixed size, right and top", fixed300x200, {kFrame, {}, 0}, QRect(1120, 480, 800, 600),
        Qt::AlignRight | Qt::AlignTop, QRect(1618, 480, 302, 224));
    row("fixed size larger than the target, centred", fixed300x200, {}, QRect(0, 0, 101, 100), centre,
        QRect(-99, -50, 300, 200));
    row("zero size", none, {kFrame, {}, 0}, QRect(5, 5, 0, 0), topLeft, QRect(5, 5, 3, 25));
    row("client-side margins", none, {{}, {10, 20, 30, 40}, 0}, QRect(0, 0, 400, 300), topLeft, QRect(0, 0, 400, 300));
    row("position beyond X coordinates", none, {}, QRect(40000, -40000, 10, 10), topLeft,
        QRect(kCoordinateLimitPx, -kCoordinateLimitPx, 10, 10));
    row("anchored beyond X coordinates", fixed300x200, {}, QRect(32700, 0, 10, 10), bottomRight,
        QRect(kCoordinateLimitPx, -190, 300, 200));
    row("sizes out of range are clamped", none, {kFrame, {}, 0}, QRect(0, 0, -100000, 100000), topLeft,
        QRect(0, 0, 3, kMaxClientSizePx + 24));
}

void X11GeometryTest::expectedOuterRect()
{
    QFETCH(QList<int>, hintValues);
    QFETCH(Decoration, decoration);
    QFETCH(QRect, target);
    QFETCH(int, anchor);
    QFETCH(QRect, expected);
    QCOMPARE(platform::x11::expectedOuterRect(target, hints(hintValues), decoration, Qt::Alignment(anchor)), expected);
}

void X11GeometryTest::clientRequest_data()
{
    QTest::addColumn<uint>("gravity");
    QTest::addColumn<Decoration>("decoration");
    QTest::addColumn<ClientRequest>("request");

    // The outer rectangle (100, 200) 400 x 300 in every row.
    const Decoration frame {kFrame, {}, 0};
    QTest::newRow("NorthWest") << 1u << frame << ClientRequest {100, 200, 398, 276};
    QTest::newRow("North") << 2u << frame << ClientRequest {101, 200, 398, 276};
    QTest::newRow("NorthEast") << 3u << frame << ClientRequest {102, 200, 398, 276};
    QTest::newRow("West") << 4u << frame << ClientRequest {100, 212, 398, 276};
    QTest::newRow("Center") << 5u << frame << ClientRequest {101, 212, 398, 276};
    QTest::newRow("East") << 6u << frame << ClientRequest {102, 212, 398, 276};
    QTest::newRow("SouthWest") << 7u << frame << ClientRequest {100, 224, 398, 276};
    QTest::newRow("South") << 8u << frame << ClientRequest {101, 224, 398, 276};
    QTest::newRow("SouthEast") << 9u << frame << ClientRequest {102, 224, 398, 276};
    QTest::newRow("Static: the client's own position") << 10u << frame << ClientRequest {101, 220, 398, 276};
    QTest::newRow("unknown gravity counts as NorthWest") << 0u << frame << ClientRequest {100, 200, 398, 276};
    QTest::newRow("no frame: the position whatever the gravity")
        << 9u << Decoration {} << ClientRequest {100, 200, 400, 300};
    const Decoration csd {{}, {10, 20, 30, 40}, 0};
    QTest::newRow("client-side margins, NorthWest") << 1u << csd << ClientRequest {90, 170, 430, 370};
    QTest::newRow("client-side margins, SouthEast") << 9u << csd << ClientRequest {90, 170, 430, 370};
    QTest::newRow("client-side margins, Static") << 10u << csd << ClientRequest {90, 170, 430, 370};
    const Decoration both {kFrame, {2, 2, 2, 2}, 0};
    QTest::newRow("frame and margins, NorthWest") << 1u << both << ClientRequest {98, 198, 402, 280};
    QTest::newRow("frame and margins, SouthEast") << 9u << both << ClientRequest {100, 222, 402, 280};
    QTest::newRow("frame and margins, Static") << 10u << both << ClientRequest {99, 218, 402, 280};
    QTest::newRow("client border, NorthWest") << 1u << Decoration {kFrame, {}, 3} << ClientRequest {100, 200, 392, 270};
}

void X11GeometryTest::clientRequest()
{
    QFETCH(uint, gravity);
    QFETCH(Decoration, decoration);
    QFETCH(ClientRequest, request);
    const ClientRequest actual = clientRequestFor(QRect(100, 200, 400, 300), decoration, gravity);
    QCOMPARE(QList<int>({actual.x, actual.y, actual.width, actual.height}),
        QList<int>({request.x, request.y, request.width, request.height}));
}

QTEST_APPLESS_MAIN(X11GeometryTest)
#include "x11geometry_test.moc"
