// Windows that disappear while Framewright works on them (openbox harness): between listing and applying, and in
// the middle of reading, setting and listing. Nothing may escape (no X error, no crash, no wrong result) and the
// connection must go on working.
#include "platform/x11/x11windowsystem.h"
#include "rawx.h"
#include "testclient.h"

#include <QTest>
#include <QThread>

#include <algorithm>
#include <atomic>

using platform::ShowState;
using platform::TopLevelWindow;
using platform::WindowPlacement;

namespace {

QByteArray hexId(quint32 window)
{
    return "0x" + QByteArray::number(window, 16);
}

constexpr int kStressWindows = 24;

} // namespace

class X11VanishingTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void destroyedBetweenListingAndUse_data();
    void destroyedBetweenListingAndUse();
    void destroyedWhileWorkedOn_data();
    void destroyedWhileWorkedOn();

private:
    quint32 openManaged(const QByteArray &options);
    // The connection still works: a new window is listed and lands exactly.
    void verifyStillWorking(platform::x11::X11WindowSystem &system);

    RawX m_raw;
    TestClient m_client;
};

quint32 X11VanishingTest::openManaged(const QByteArray &options)
{
    const quint32 window = m_client.openWindow(options);
    const bool managed = window != 0 && QTest::qWaitFor([&] {
        return m_raw.wmState(window) != 0 && m_raw.values(window, "_NET_FRAME_EXTENTS").size() == 4
            && m_raw.listed(window);
    });
    return managed ? window : 0;
}

void X11VanishingTest::verifyStillWorking(platform::x11::X11WindowSystem &system)
{
    const quint32 window = openManaged("pos=10,10 -- Still working");
    QVERIFY(window);
    const auto windows = system.topLevelWindows();
    QVERIFY(std::any_of(windows.begin(), windows.end(), [&](const TopLevelWindow &w) { return w.id == window; }));
    const QRect target(300, 200, 640, 480);
    QVERIFY(system.setWindowPlacement(window, {ShowState::Normal, target}));
    QCOMPARE(m_raw.outerFromFrame(window).value_or(QRect()), target);
    QVERIFY(m_client.command("destroy " + hexId(window)));
}

void X11VanishingTest::initTestCase()
{
    QVERIFY2(m_raw.connected(), "no X server: run through tests/support/x11-session");
    QVERIFY2(m_client.start(), qPrintable(m_client.lastError()));
}

void X11VanishingTest::destroyedBetweenListingAndUse_data()
{
    QTest::addColumn<QByteArray>("options");
    QTest::addColumn<QByteArray>("operation"); // normal, maximized, read
    QTest::newRow("apply normal") << QByteArray("pos=50,50") << QByteArray("normal");
    QTest::newRow("apply maximized") << QByteArray("pos=50,50") << QByteArray("maximized");
    QTest::newRow("apply to a minimized window") << QByteArray("pos=50,50 iconic") << QByteArray("normal");
    QTest::newRow("read") << QByteArray("pos=50,50") << QByteArray("read");
}

void X11VanishingTest::destroyedBetweenListingAndUse()
{
    QFETCH(QByteArray, options);
    QFETCH(QByteArray, operation);

    const auto system = platform::x11::X11WindowSystem::open();
    QVERIFY(system);
    const quint32 window = openManaged(options + " -- Vanishing");
    QVERIFY(window);
    const auto windows = system->topLevelWindows();
    QVERIFY(std::any_of(windows.begin(), windows.end(), [&](const TopLevelWindow &w) { return w.id == window; }));
    QVERIFY(m_client.command("destroy " + hexId(window)));
    QVERIFY(!m_raw.exists(window));

    if (operation == "read") {
        QCOMPARE(system->windowPlacement(window), std::nullopt);
    } else {
        const ShowState state = operation == "maximized" ? ShowState::Maximized : ShowState::Normal;
        QVERIFY(!system->setWindowPlacement(window, {state, QRect(100, 100, 400, 300)}));
    }
    verifyStillWorking(*system);
}

void X11VanishingTest::destroyedWhileWorkedOn_data()
{
    QTest::addColumn<QByteArray>("options");
    QTest::newRow("normal windows") << QByteArray("pos=40,40");
    QTest::newRow("minimized windows") << QByteArray("pos=40,40 iconic");
}

// A second thread reads, sets and lists the windows over and over while this one destroys them one after the
// other, so that windows vanish between the requests of an operation and during its waits.
void X11VanishingTest::destroyedWhileWorkedOn()
{
    QFETCH(QByteArray, options);

    std::vector<quint32> windows;
    for (int i = 0; i < kStressWindows; ++i) {
        windows.push_back(openManaged(options + " -- Stress " + QByteArray::number(i)));
        QVERIFY(windows.back());
    }
    std::atomic<bool> stop = false;
    std::atomic<int> operations = 0;
    std::atomic<int> wrongResults = 0;
    QThread *worker = QThread::create([&] {
        // Created and used in this thread only.
        const auto system = platform::x11::X11WindowSystem::open();
        for (int round = 0; !stop; ++round) {
            for (const quint32 window : windows) {
                const std::optional<WindowPlacement> read = system->windowPlacement(window);
                if (read && read->normalRect.isEmpty()) {
                    ++wrongResults;
                }
                const QRect target(100 + round % 7, 100, 300 + round % 5, 200);
                const ShowState state = round % 3 == 2 ? ShowState::Maximized : ShowState::Normal;
                system->setWindowPlacement(window, {state, target});
                system->topLevelWindows();
                operations += 3;
            }
        }
    });
    worker->start();
    QVERIFY(QTest::qWaitFor([&] { return operations > 3 * kStressWindows; }));
    for (const quint32 window : windows) {
        const int before = operations;
        QVERIFY(m_client.command("destroy " + hexId(window)));
        QVERIFY(QTest::qWaitFor([&] { return operations > before; }));
    }
    QVERIFY(QTest::qWaitFor([&] { return operations > 6 * kStressWindows; }));
    stop = true;
    QVERIFY(worker->wait(10000));
    delete worker;
    QCOMPARE(wrongResults.load(), 0);

    const auto system = platform::x11::X11WindowSystem::open();
    QVERIFY(system);
    for (const quint32 window : windows) {
        QCOMPARE(system->windowPlacement(window), std::nullopt);
    }
    verifyStillWorking(*system);
}

QTEST_GUILESS_MAIN(X11VanishingTest)
#include "x11vanishing_test.moc"
