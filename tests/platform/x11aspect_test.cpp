// Windows with an aspect range in WM_NORMAL_HINTS (video players, image viewers) on a real X server under each
// window manager of the matrix: the window takes the largest size within the rectangle asked for that keeps its
// aspect, is aligned as asked for that size, and the setting counts as landed. Results are read with raw X requests.
#include "platform/x11/x11windowsystem.h"
#include "rawx.h"
#include "testclient.h"
#include "windowmanagerpolicy.h"

#include <QTest>

using platform::ShowState;

namespace {

constexpr quint32 kNormalState = 1;

struct AspectRange
{
    QSize min;
    QSize max;
    QSize base;
};

// Rows that a window manager decides by a policy of its own: the program reports the placement as not taken.
constexpr WindowManagerPolicy kPolicies[] = {
    {"square beyond a base size, centred", "metacity", "metacity keeps the aspect of the whole client, base included"},
    {"square beyond a base size, centred", "marco", "marco keeps the aspect of the whole client, base included"},
};

// Whether `client` keeps the range as window managers count it: they round the side they derive down, so a size
// one pixel short of the exact ratio still keeps it.
bool keepsRange(QSize client, const AspectRange &range)
{
    const qint64 width = client.width() - range.base.width();
    const qint64 height = client.height() - range.base.height();
    return (width + 1) * range.min.height() >= height * range.min.width()
        && width * range.max.height() <= (height + 1) * range.max.width();
}

// The edge or centre that the alignment names, along one axis: 0 start, 1 centre, 2 end.
bool alignedOnAxis(int position, int size, int targetPosition, int targetSize, int anchor)
{
    const int freeSpace = targetSize - size;
    const int expected = targetPosition + (anchor == 2 ? freeSpace : anchor == 1 ? freeSpace / 2 : 0);
    return position == expected;
}

} // namespace

Q_DECLARE_METATYPE(AspectRange)

class X11AspectTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void landsAlignedForTheSizeItTakes_data();
    void landsAlignedForTheSizeItTakes();

private:
    std::unique_ptr<platform::x11::X11WindowSystem> m_system;
    RawX m_raw;
    TestClient m_client;
    std::vector<quint32> m_windows;
};

void X11AspectTest::initTestCase()
{
    m_system = platform::x11::X11WindowSystem::open();
    QVERIFY2(m_system && m_raw.connected(), "no X server: run through tests/support/x11-session");
    QVERIFY2(m_client.start(), qPrintable(m_client.lastError()));
}

void X11AspectTest::cleanup()
{
    for (const quint32 window : m_windows) {
        m_client.command("destroy 0x" + QByteArray::number(window, 16));
    }
    m_windows.clear();
}

void X11AspectTest::landsAlignedForTheSizeItTakes_data()
{
    QTest::addColumn<QByteArray>("options");
    QTest::addColumn<AspectRange>("range");
    QTest::addColumn<QRect>("target");
    QTest::addColumn<int>("horizontal"); // 0 left, 1 centre, 2 right
    QTest::addColumn<int>("vertical");   // 0 top, 1 centre, 2 bottom

    const AspectRange video {{16, 9}, {16, 9}, {}};
    const AspectRange viewer {{4, 3}, {16, 9}, {}};
    const AspectRange square {{1, 1}, {1, 1}, {40, 60}};
    const char *videoOptions = "pos=300,300 size=640x360 aspect=16:9-16:9";
    const char *viewerOptions = "pos=300,300 size=400x300 aspect=4:3-16:9";
    const char *squareOptions = "pos=300,300 size=240x260 base=40x60 aspect=1:1-1:1";
    const QRect leftHalf(0, 0, 960, 1080);
    const QRect sideRight(2560, 0, 640, 1024);
    const QRect strip(0, 400, 1920, 300);
    for (int h = 0; h < 3; ++h) {
        for (int v = 0; v < 3; ++v) {
            const QByteArray where = "h" + QByteArray::number(h) + " v" + QByteArray::number(v);
            QTest::addRow("16:9, left half, %s", where.constData())
                << QByteArray(videoOptions) << video << leftHalf << h << v;
            QTest::addRow("16:9, strip too wide, %s", where.constData())
                << QByteArray(videoOptions) << video << strip << h << v;
        }
    }
    QTest::newRow("16:9, side monitor, right bottom") << QByteArray(videoOptions) << video << sideRight << 2 << 2;
    QTest::newRow("16:9, side monitor, centred") << QByteArray(videoOptions) << video << sideRight << 1 << 1;
    QTest::newRow("range, too tall, bottom") << QByteArray(viewerOptions) << viewer << leftHalf << 0 << 2;
    QTest::newRow("range, too wide, right") << QByteArray(viewerOptions) << viewer << strip << 2 << 0;
    QTest::newRow("range, within it, centred")
        << QByteArray(viewerOptions) << viewer << QRect(100, 100, 800, 500) << 1 << 1;
    QTest::newRow("square beyond a base size, centred")
        << QByteArray(squareOptions) << square << QRect(2000, 100, 700, 900) << 1 << 1;
}

void X11AspectTest::landsAlignedForTheSizeItTakes()
{
    QFETCH(QByteArray, options);
    QFETCH(AspectRange, range);
    QFETCH(QRect, target);
    QFETCH(int, horizontal);
    QFETCH(int, vertical);
    if (skippedByPolicy(kPolicies, __FILE__, __LINE__)) {
        return;
    }

    const quint32 window = m_client.openWindow(options + " -- Keeps its aspect");
    QVERIFY2(window, qPrintable(m_client.lastError()));
    m_windows.push_back(window);
    QTRY_VERIFY(m_raw.wmState(window) == kNormalState && m_raw.values(window, "_NET_FRAME_EXTENTS").size() == 4);

    const Qt::Alignment hAnchor[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    const Qt::Alignment vAnchor[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    QVERIFY(m_system->setWindowPlacement(window, {ShowState::Normal, target, hAnchor[horizontal] | vAnchor[vertical]}));

    const QRect outer = m_raw.outerFromFrame(window).value_or(QRect());
    QCOMPARE(m_raw.outerFromExtents(window).value_or(QRect()), outer);
    const QSize client = m_raw.clientRect(window).value_or(QRect()).size();
    QVERIFY2(
        keepsRange(client, range), qPrintable(QStringLiteral("client %1x%2").arg(client.width()).arg(client.height())));
    QVERIFY2(target.contains(outer), qPrintable(QStringLiteral("outer %1x%2").arg(outer.width()).arg(outer.height())));
    // As large as the range allows: the width fills the target, or the height does to a pixel (the height that
    // follows a width shortened for it is rounded down).
    QVERIFY(outer.width() == target.width() || outer.height() >= target.height() - 1);
    QVERIFY(alignedOnAxis(outer.x(), outer.width(), target.x(), target.width(), horizontal));
    QVERIFY(alignedOnAxis(outer.y(), outer.height(), target.y(), target.height(), vertical));
}

QTEST_GUILESS_MAIN(X11AspectTest)
#include "x11aspect_test.moc"
